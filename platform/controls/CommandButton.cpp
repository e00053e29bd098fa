// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandButton.h"

#include "ActivationKey.h"

#include <QKeyEvent>
#include <QPainter>

CommandButton::CommandButton(QWidget *parent)
    : QPushButton(parent)
{
}

void CommandButton::setCaption(const QString &caption)
{
    setText(caption);
    repaint();
}

void CommandButton::keyPressEvent(QKeyEvent *event)
{
    switch (ActivationKey::of(event)) {
    case ActivationKey::Press::None:
        QPushButton::keyPressEvent(event);
        break;
    case ActivationKey::Press::Act:
        click();
        break;
    case ActivationKey::Press::HeldDown:
        break;
    }
}

void CommandButton::paintEvent(QPaintEvent *event)
{
    QPushButton::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::ButtonText), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(4, 4, -5, -5));
}
