// SPDX-License-Identifier: GPL-3.0-or-later
#include "Label.h"

#include "FontSubstitutes.h"

Label::Label(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAutoFillBackground(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void Label::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        setContentsMargins(0, FontSubstitutes::textDrop(font()), 0, 0);
    QLabel::changeEvent(event);
}

void Label::mousePressEvent(QMouseEvent *event)
{
    m_click.press(event);
    QLabel::mousePressEvent(event);
}

void Label::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_click.release(event, rect());
    QLabel::mouseReleaseEvent(event);
    if (click)
        emit clicked();
}
