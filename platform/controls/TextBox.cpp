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
    const QString shown = NativePaths::shown(name);
    const bool same = shown == text();
    setText(shown);
    // Set to the text it already holds, it tells so as for any other text,
    // so that what follows a new choice follows the same choice made again.
    if (same)
        emit changed();
}

QString TextBox::name() const
{
    return text() == NativePaths::shown(m_name) ? m_name : text();
}
