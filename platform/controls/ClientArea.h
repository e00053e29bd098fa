// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QScrollArea>

// A form's client area: the surface that holds the controls at their
// designed places, kept at its designed size. Where the window is smaller
// than the surface (a small screen, large text) the surface scrolls, by its
// scroll bars, by a flick on a touch screen, and of itself to the control
// that takes the focus, so that every control stays within reach. Where the
// window is larger, the surface stays at its top-left corner and the
// window's colour shows around it: nothing moves or resizes a control.
class ClientArea : public QScrollArea
{
    Q_OBJECT

public:
    explicit ClientArea(QWidget *form);

    QWidget *surface() const { return widget(); }

    // The room the scroll bars take beside and below the surface.
    QSize scrollBarRoom() const;

private:
    void followFocus(QWidget *old, QWidget *now);
};
