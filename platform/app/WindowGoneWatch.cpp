// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowGoneWatch.h"

#include <QApplication>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <algorithm>

#include <cstdint>
#include <cstring>

bool WindowGoneWatch::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result)
{
    (void)result;
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const unsigned char *>(message);
    // Only the server's own word counts: the top bit marks an event that
    // another client made up and sent, with nothing destroyed.
    if (event[0] != destroyNotify)
        return false;
    std::uint32_t destroyed = 0;
    std::memcpy(&destroyed, event + destroyedWindowOffset, sizeof destroyed);
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->internalWinId() == destroyed) {
            // Hidden once the event is handled, from the event loop, not
            // from inside the platform's event delivery.
            QMetaObject::invokeMethod(widget, &QWidget::hide, Qt::QueuedConnection);
            QTimer::singleShot(0, qApp, &WindowGoneWatch::quitOnceNoWindowIsLeft);
        }
    }
    return false;
}

// A hidden window does not end the event loop as a closed one does, and a
// run may still be under way, with its progress window and its message to
// come: the program ends once the event loop is back at its top with no
// window shown.
void WindowGoneWatch::quitOnceNoWindowIsLeft()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    const bool windowShown = std::any_of(windows.begin(), windows.end(), [](const QWidget *window) {
        return window->isVisible();
    });
    if (windowShown || QThread::currentThread()->loopLevel() > 1) {
        QTimer::singleShot(checkInterval, qApp, &WindowGoneWatch::quitOnceNoWindowIsLeft);
        return;
    }
    QApplication::quit();
}
