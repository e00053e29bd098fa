// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandButton.h"

CommandButton::CommandButton(QWidget *parent)
    : QPushButton(parent)
{
}

void CommandButton::setCaption(const std::string &caption)
{
    setText(QString::fromStdString(caption));
    repaint();
}
