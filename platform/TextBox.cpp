// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextBox.h"

TextBox::TextBox(QWidget *parent)
    : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, &TextBox::changed, Qt::DirectConnection);
}
