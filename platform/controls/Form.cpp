// SPDX-License-Identifier: GPL-3.0-or-later
#include "Form.h"

#include "ClientArea.h"
#include "FontSubstitutes.h"

#include <QScreen>
#include <QShowEvent>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace {

// The frame a desktop may put around the window (a title bar, thin borders),
// assumed until the window is on the screen: the X window system tells the
// frame only once the window is shown.
constexpr QMargins frameAllowance(8, 40, 8, 8);

// The frame as the desktop has drawn it; none while it is not known. Qt
// tells it in whole device-independent pixels, each side rounded to the
// nearest: at a fractional scale a pixel more on each side keeps the whole
// frame within the room.
QMargins knownFrame(const QWindow *window)
{
    QMargins frame = window->frameMargins();
    if (!frame.isNull() && window->devicePixelRatio() != std::floor(window->devicePixelRatio()))
        frame += QMargins(1, 1, 1, 1);
    return frame;
}

} // namespace

Form::Form(QWidget *parent)
    : QWidget(parent)
    , m_clientArea(new ClientArea(this))
{
    FontSubstitutes::install();
}

QWidget *Form::surface() const
{
    return m_clientArea->surface();
}

void Form::setClientSize(const QSize &size)
{
    surface()->resize(size);
    resize(size);
}

void Form::start()
{
    load();
    show();
}

void Form::unload()
{
    close();
}

void Form::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_clientArea->setGeometry(rect());
}

// The first size is decided as the window is first shown, on the screen it
// is shown on, with the frame the desktop gives it where that is known yet;
// it is decided once more when the window is first on the screen and its
// frame is known.
void Form::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_shown || event->spontaneous())
        return;
    m_shown = true;
    const QMargins frame = knownFrame(windowHandle());
    fitScreen(frame.isNull() ? frameAllowance : frame, frame.isNull() ? Placing::SizeOnly : Placing::Centre);
    windowHandle()->installEventFilter(this);
}

bool Form::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed()) {
        windowHandle()->removeEventFilter(this);
        const QMargins frame = knownFrame(windowHandle());
        if (!frame.isNull())
            fitScreen(frame, Placing::Centre);
    }
    return QWidget::eventFilter(watched, event);
}

// The client area at its designed size where the screen's room takes it
// with the frame; else as large as the room allows, with room for the scroll
// bars it then needs (one beside takes width, one below height), and the
// window centred in the room. Where it is not cut, the desktop places it.
// A window is moved only once its frame is known: moved before the desktop
// has framed it, it may be framed around where it was put, the frame
// standing off the screen.
void Form::fitScreen(const QMargins &frame, Placing placing)
{
    const QRect room = screen()->availableGeometry();
    const QSize space = room.size().shrunkBy(frame);
    const QSize designed = surface()->size();
    const QSize bars = m_clientArea->scrollBarRoom();
    bool tall = designed.height() > space.height();
    const bool wide = designed.width() + (tall ? bars.width() : 0) > space.width();
    tall = tall || (wide && designed.height() + bars.height() > space.height());
    const QSize client(std::min(designed.width() + (tall ? bars.width() : 0), space.width()),
                       std::min(designed.height() + (wide ? bars.height() : 0), space.height()));
    if (client != size())
        resize(client);
    if ((tall || wide) && placing == Placing::Centre)
        move(room.center() - QRect(QPoint(), client.grownBy(frame)).center());
}
