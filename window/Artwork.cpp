// SPDX-License-Identifier: GPL-3.0-or-later
#include "Artwork.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QTransform>

namespace Artwork {

namespace {

const QColor windowGreen(0, 192, 0);
const QColor skin(255, 204, 204);

QPainterPath handOutline()
{
    QPainterPath fist;
    fist.addRoundedRect(QRectF(44, 6, 33, 30), 12, 12);

    QPainterPath thumb;
    thumb.addEllipse(QRectF(38, 24, 18, 11));

    QPainterPath fingerLine;
    fingerLine.moveTo(50, 27);
    fingerLine.lineTo(5.5, 52);
    QPainterPathStroker stroker;
    stroker.setWidth(9);
    stroker.setCapStyle(Qt::RoundCap);
    const QPainterPath finger = stroker.createStroke(fingerLine);

    return fist.united(thumb).united(finger).simplified();
}

} // namespace

QImage handPointingDownLeft()
{
    QImage image(82, 58, QImage::Format_RGB32);
    image.fill(windowGreen);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1.0));
    painter.setBrush(skin);
    painter.drawPath(handOutline());

    // The curled fingers' creases and the fingernail.
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(QPointF(58, 14), QPointF(73, 14));
    painter.drawLine(QPointF(58, 21), QPointF(74, 21));
    painter.drawLine(QPointF(58, 28), QPointF(72, 28));
    painter.drawArc(QRectF(3, 47, 6, 5), 90 * 16, 160 * 16);
    painter.end();
    return image.convertToFormat(QImage::Format_RGB888);
}

QImage handPointingDownRight()
{
    return handPointingDownLeft().mirrored(true, false);
}

QImage handPointingUp()
{
    return handPointingDownLeft().transformed(QTransform().rotate(90));
}

QImage windowIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);

    // Radio waves around the top of the mast.
    painter.setPen(QPen(QColor(220, 0, 0), 1.5));
    for (const double radius : {5.0, 8.5, 12.0})
        painter.drawArc(QRectF(16 - radius, 8 - radius, 2 * radius, 2 * radius), 20 * 16, 140 * 16);

    // The mast: two legs and their bracing, standing on the ground line.
    painter.setPen(QPen(Qt::black, 1.5));
    painter.drawLine(QPointF(16, 10), QPointF(10, 29));
    painter.drawLine(QPointF(16, 10), QPointF(22, 29));
    for (const double y : {16.0, 22.0, 28.0}) {
        const double half = (y - 10) * 6 / 19;
        painter.drawLine(QPointF(16 - half, y), QPointF(16 + half, y));
    }
    painter.fillRect(QRectF(3, 29, 26, 2), QColor(0, 0, 200));

    // The box at the top, blue with a yellow centre.
    painter.fillRect(QRectF(13, 5, 6, 6), QColor(0, 0, 200));
    painter.fillRect(QRectF(15, 7, 2, 2), QColor(255, 255, 0));
    painter.end();
    return image;
}

} // namespace Artwork
