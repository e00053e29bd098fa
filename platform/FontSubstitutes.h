// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QFont;

// Where the designed faces are missing, fonts that scripts/prepare installs
// stand in for them, at the designed sizes, weights and slants:
// "MS Sans Serif" and "Nina" -> "Liberation Sans Narrow" (fonts-liberation),
// falling back to "DejaVu Sans Condensed" and "DejaVu Sans". The narrow face
// keeps the prompts within their designed rectangles, as the designed faces
// do.
namespace FontSubstitutes {

void install();

// How far, in pixels, a label moves its text down from its top edge. The
// banner labels in the banner face Nina are stacked so that each covers the
// top of the one behind it, so banner text needs a third of its size free
// above its tallest letters; a stand-in with less room there is moved down by
// the difference, measured on the font actually drawn. Zero for every other
// face and where Nina itself is drawn.
int textDrop(const QFont &font);

} // namespace FontSubstitutes
