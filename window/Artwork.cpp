// SPDX-License-Identifier: GPL-3.0-or-later
#include "Artwork.h"

#include "FormDesign.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <algorithm>

namespace Artwork {

namespace {

// The pictures' background is the window's own colour.
const QColor windowGreen = FormDesign::colour(FormDesign::windowBackColour);
const QColor skin(255, 204, 204);

QPainterPath roundedBox(const QRectF &box, double radius)
{
    QPainterPath path;
    path.addRoundedRect(box, radius, radius);
    return path;
}

// A box rounded at both ends, as a finger.
QPainterPath finger(const QRectF &box)
{
    return roundedBox(box, std::min(box.width(), box.height()) / 2);
}

} // namespace

QImage handPointingDownLeft()
{
    QImage image(82, 58, QImage::Format_RGB32);
    image.fill(windowGreen);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    // Drawn pointing left with the fingertip at the origin and the back of
    // the hand to the right; then flipped so the thumb and the curled fingers
    // lie above the index finger, and turned so the finger points down and to
    // the left with its tip at the lower-left corner.
    QTransform turn;
    turn.translate(1.9, 54.7);
    turn.rotate(-27);
    turn.scale(0.9, -0.9);
    painter.setTransform(turn);
    painter.setPen(QPen(Qt::black, 1.35, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(skin);

    // The three curled fingers, their knuckles showing beside the fist.
    for (int i = 0; i < 3; ++i)
        painter.drawPath(roundedBox(QRectF(37 + 1.5 * i, 10.5 + 6.5 * i, 20, 7.5), 3.7));
    // The back of the hand and the stretched index finger, one outline.
    const QPainterPath back = roundedBox(QRectF(46, -8.5, 33, 36), 11);
    painter.drawPath(back.united(finger(QRectF(0, -4.6, 56, 9.2))).simplified());
    // The thumb, lying along the index finger.
    painter.drawPath(finger(QRectF(37, 3.8, 24, 9.5)));
    // The fingernail.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 0.9));
    painter.drawArc(QRectF(2.0, -3.6, 7, 4.5), 90 * 16, 180 * 16);
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
