// SPDX-License-Identifier: GPL-3.0-or-later
#include "FocusMark.h"

#include <QColor>
#include <QPainter>
#include <QRect>

#include <algorithm>
#include <cmath>

namespace {

// Relative luminance of an sRGB colour.
double luminance(const QColor &colour)
{
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

} // namespace

void FocusMark::draw(QPainter &painter, const QRect &area, const QColor &background)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colourOn(background));
    const QRect outer = area;
    const QRect inner = area.adjusted(width, width, -width, -width);
    painter.drawRect(QRect(outer.left(), outer.top(), outer.width(), width));
    painter.drawRect(QRect(outer.left(), outer.bottom() - width + 1, outer.width(), width));
    painter.drawRect(QRect(outer.left(), inner.top(), width, inner.height()));
    painter.drawRect(QRect(outer.right() - width + 1, inner.top(), width, inner.height()));
    painter.restore();
}

QColor FocusMark::colourOn(const QColor &background)
{
    return contrast(background, Qt::black) >= contrast(background, Qt::white) ? QColor(Qt::black) : QColor(Qt::white);
}

double FocusMark::contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
