#pragma once

// Where the designed faces are missing, fonts that scripts/prepare installs
// stand in for them, at the designed sizes, weights and slants:
// "MS Sans Serif" -> "Liberation Sans", "Nina" -> "Liberation Sans Narrow"
// (fonts-liberation), each falling back to "DejaVu Sans".
namespace FontSubstitutes {

void install();

} // namespace FontSubstitutes
