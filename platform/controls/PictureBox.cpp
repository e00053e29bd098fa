// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureBox.h"

#include <QPainter>

PictureBox::PictureBox(QWidget *parent)
    : Label(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::setPicture(const QImage &picture)
{
    m_picture = picture;
    update();
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.drawImage(QPoint(0, 0), m_picture);
}
