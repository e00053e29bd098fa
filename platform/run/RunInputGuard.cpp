// SPDX-License-Identifier: GPL-3.0-or-later
#include "RunInputGuard.h"

#include <QApplication>
#include <QDropEvent>
#include <QEvent>
#include <QWidget>

RunInputGuard::RunInputGuard(const QWidget *allowed)
    : m_allowed(allowed)
{
    qApp->installEventFilter(this);
}

RunInputGuard::~RunInputGuard()
{
    qApp->removeEventFilter(this);
}

bool RunInputGuard::isUserInput(int eventType)
{
    switch (QEvent::Type(eventType)) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::NativeGesture:
    case QEvent::Gesture:
    case QEvent::InputMethod:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::DragLeave:
    case QEvent::Drop:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

// Input to any window but the allowed one is dropped; a drag is refused
// where it enters, and a request to close a window is refused.
bool RunInputGuard::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    if (widget == nullptr || !isUserInput(event->type()))
        return false;
    for (const QWidget *owner = widget->window(); owner != nullptr; owner = owner->parentWidget()) {
        if (owner == m_allowed)
            return false;
    }
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove || event->type() == QEvent::Drop)
        static_cast<QDropEvent *>(event)->setDropAction(Qt::IgnoreAction);
    event->ignore();
    return true;
}
