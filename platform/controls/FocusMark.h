// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QColor;
class QPainter;
class QRect;

// The mark of the control or entry that has the keyboard focus: a solid
// frame two pixels wide just inside `area`, black on a light background and
// white on a dark one, so that it stands out from what it frames by at least
// 4.5 to 1 whatever the colours.
class FocusMark
{
public:
    static constexpr int width = 2;

    static void draw(QPainter &painter, const QRect &area, const QColor &background);

    // Black or white, whichever contrasts more with `background`.
    static QColor colourOn(const QColor &background);

    // The contrast ratio of two colours, from 1 (the same) to 21 (black on white).
    static double contrast(const QColor &a, const QColor &b);
};
