// SPDX-License-Identifier: GPL-3.0-or-later
#include "Label.h"


Label::Label(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAutoFillBackground(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
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
