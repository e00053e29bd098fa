// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QWidget;

// While it exists, no window of the program takes input but `allowed` (and
// the windows it owns): clicks, keys, shortcuts, the wheel, touch and pen,
// text from an input method, drag and drop, and requests to close a window
// are all dropped. Painting goes on. This is how the window keeps still
// while a run, on a thread of its own, writes the condensed log.
class RunInputGuard : public QObject
{
public:
    explicit RunInputGuard(const QWidget *allowed);
    ~RunInputGuard() override;

    // Whether an event of this type is the user's input.
    static bool isUserInput(int eventType);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    const QWidget *m_allowed;
};
