#pragma once

#include <QColor>

namespace platform {

// The standard 16-colour palette: 0 black, 1 blue, 2 green, 3 cyan, 4 red,
// 5 magenta, 6 brown, 7 light grey, 8 dark grey, 9 light blue, 10 light
// green, 11 light cyan, 12 light red, 13 light magenta, 14 yellow, 15 white.
// Indexes outside 0..15 wrap (index & 15), as the colour settings are plain
// numbers read from the configuration.
QColor PaletteColor(int index);

}  // namespace platform
