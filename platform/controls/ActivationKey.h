// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QKeyEvent;

// The keys that act on the focused control, as a click does: Enter, the
// keypad's Enter and Space, without Shift, Ctrl or Alt (the keypad's own
// modifier is no modifier). Buttons press with them, the file list chooses.
class ActivationKey
{
public:
    enum class Press {
        None,     // another key, or one with a modifier: the control's own handling
        Act,      // act now
        HeldDown  // the key was already down (auto-repeat): taken, nothing happens
    };

    static Press of(const QKeyEvent *event);
};
