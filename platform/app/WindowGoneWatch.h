// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractNativeEventFilter>

// Notices when another program destroys one of our windows on the X11
// display (Qt itself takes no notice) and hides the widget it showed, as if
// the user had closed it. Without this a window destroyed during a run left
// the program running, with no window, once the run's message was
// dismissed. The program then ends once no window of it is shown and no run
// or message is under way. Only the X server's own events count: one that
// another client sends (XSendEvent) destroys nothing and is passed over.
class WindowGoneWatch : public QAbstractNativeEventFilter
{
public:
    // X11's DestroyNotify: the event's type, and where the destroyed window's id lies in it.
    static constexpr unsigned char destroyNotify = 17;
    static constexpr int destroyedWindowOffset = 8;

    // How often, once a window is gone, the program looks whether it may end.
    static constexpr int checkInterval = 100;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    static void quitOnceNoWindowIsLeft();
};
