// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMouseEvent>
#include <QRect>

// One click: the left button pressed over a control and released over it.
class ClickDetector
{
public:
    void press(const QMouseEvent *event) { m_pressed = event->button() == Qt::LeftButton; }

    // True when this release completes a click inside `area`.
    bool release(const QMouseEvent *event, const QRect &area)
    {
        const bool click = m_pressed && event->button() == Qt::LeftButton
            && area.contains(event->position().toPoint());
        m_pressed = false;
        return click;
    }

private:
    bool m_pressed = false;
};
