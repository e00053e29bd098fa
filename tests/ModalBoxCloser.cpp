// SPDX-License-Identifier: GPL-3.0-or-later
#include "ModalBoxCloser.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>

ModalBoxCloser::ModalBoxCloser(std::function<void()> whileShown, Press press)
    : m_whileShown(std::move(whileShown))
    , m_press(press)
{
    connect(&m_timer, &QTimer::timeout, this, &ModalBoxCloser::poll);
    m_timer.start(5);
}

void ModalBoxCloser::poll()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible())
        return;
    boxes.append({box->windowTitle(), box->text(), box->icon(), int(box->buttons().size()), box->textFormat(),
                     box->accessibleDescription()});
    if (m_whileShown)
        m_whileShown();
    QAbstractButton *ok = box->button(QMessageBox::Ok);
    if (m_press == Press::Keyboard)
        QTest::keyClick(box->focusWidget() != nullptr ? box->focusWidget() : box, Qt::Key_Return);
    else if (ok != nullptr)
        QTest::mouseClick(ok, Qt::LeftButton);
    else
        box->reject();
}

QList<ModalBoxCloser::Box> ModalBoxCloser::answered() const
{
    QList<Box> kept;
    for (const Box &box : boxes) {
        if (!(box.icon == QMessageBox::Warning && box.text.contains(QStringLiteral(" does not answer."))))
            kept.append(box);
    }
    return kept;
}
