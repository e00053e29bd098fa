// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where the designed faces are missing, fonts that scripts/prepare installs
// stand in for them, at the designed sizes, weights and slants:
// "MS Sans Serif" and "Nina" -> "Liberation Sans Narrow" (fonts-liberation),
// falling back to "DejaVu Sans Condensed" and "DejaVu Sans". The narrow face
// keeps the prompts within their designed rectangles, as the designed faces
// do.
namespace FontSubstitutes {

void install();

} // namespace FontSubstitutes
