// SPDX-License-Identifier: GPL-3.0-or-later
#include "ActivationKey.h"

#include <QKeyEvent>

ActivationKey::Press ActivationKey::of(const QKeyEvent *event)
{
    const int key = event->key();
    const bool activating = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
    if (!activating || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return Press::None;
    // A held key acts once, when it goes down.
    return event->isAutoRepeat() ? Press::HeldDown : Press::Act;
}
