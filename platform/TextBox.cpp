// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextBox.h"

#include "FocusMark.h"

#include <QPainter>

TextBox::TextBox(QWidget *parent)
    : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, &TextBox::changed, Qt::DirectConnection);
}

void TextBox::paintEvent(QPaintEvent *event)
{
    QLineEdit::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    FocusMark::draw(painter, rect(), palette().color(QPalette::Base));
}
