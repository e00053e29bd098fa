// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QImage;

// The window's pictures, drawn in code.
namespace Artwork {

// The cartoon pointing hand: pink skin with a thin black outline and softened
// edges, on the window's green. 82 x 58: the fist at the upper right with the
// thumb and curled fingers showing, the index finger stretched out down and
// to the left, its tip at the lower-left corner.
QImage handPointingDownLeft();

// The same bitmap mirrored left to right, pixel for pixel.
QImage handPointingDownRight();

// The same bitmap turned a quarter turn clockwise (58 x 82, fingertip top-left).
QImage handPointingUp();

// The window icon: a black radio mast on a blue ground line, a small blue box
// with a yellow centre at its top, three red rings of radio waves. Drawn on a
// 32 x 32 grid; other sizes are the same drawing scaled.
QImage windowIcon(int size = 32);

} // namespace Artwork
