// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandButton.h"

#include <QKeyEvent>
#include <QPainter>

CommandButton::CommandButton(QWidget *parent)
    : QPushButton(parent)
{
}

void CommandButton::setCaption(const std::string &caption)
{
    setText(QString::fromStdString(caption));
    repaint();
}

void CommandButton::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        QPushButton::keyPressEvent(event);
        return;
    }
    // A held key presses once, as Space does.
    if (!event->isAutoRepeat())
        click();
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
