// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextBox.h"

#include "FocusMark.h"

#include <QPainter>
#include "NativePaths.h"

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

void TextBox::setName(const QString &name)
{
    // Held before the text is set: changed() may read it.
    m_name = name;
    setText(NativePaths::shown(name));
}

QString TextBox::name() const
{
    return text() == NativePaths::shown(m_name) ? m_name : text();
}
