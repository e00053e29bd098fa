// SPDX-License-Identifier: GPL-3.0-or-later
#include "ClientArea.h"

#include <QApplication>
#include <QScrollBar>
#include <QScroller>

ClientArea::ClientArea(QWidget *form)
    : QScrollArea(form)
{
    // The area itself is not seen: no frame, no stop for the Tab key, which
    // goes from control to control in their designed order.
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWidget(new QWidget);
    // The surface shows the window's colour around the controls; the scroll
    // bars keep the platform's, as the controls do, and are not drawn in the
    // window's colours.
    for (QScrollBar *bar : {verticalScrollBar(), horizontalScrollBar()}) {
        QPalette palette = bar->palette();
        for (const QPalette::ColorRole role : {QPalette::Window, QPalette::WindowText})
            palette.setColor(role, QApplication::palette().color(role));
        bar->setPalette(palette);
    }
    QScroller::grabGesture(viewport(), QScroller::TouchGesture);
    connect(qApp, &QApplication::focusChanged, this, &ClientArea::followFocus);
}

QSize ClientArea::scrollBarRoom() const
{
    return {verticalScrollBar()->sizeHint().width(), horizontalScrollBar()->sizeHint().height()};
}

// Whatever moves the focus (the Tab key, a step of the guidance, the window
// activated again), the control that has it is brought into view.
void ClientArea::followFocus(QWidget * /*old*/, QWidget *now)
{
    if (now != nullptr && surface()->isAncestorOf(now))
        ensureWidgetVisible(now);
}
