// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QFont;

// Where the designed faces are missing, or there only as bitmap faces that
// cannot be drawn at the designed sizes and weights, other fonts stand in
// for them: "MS Sans Serif" and "Nina" -> "Liberation Sans Narrow"
// (fonts-liberation on Linux, shipped in fonts/ beside the program on
// Windows), falling back to "DejaVu Sans Condensed" and "DejaVu Sans". The
// narrow face keeps the prompts within their designed rectangles, as the
// designed faces do.
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
