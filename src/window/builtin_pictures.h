// The pictures the main window is built with, drawn in code: they show until
// a skin replaces them, and stay wherever a skin's picture is missing.
#pragma once

#include <QPixmap>

#include <array>

namespace plumix {

// Block(0..11): 0 and 11 stay empty; 1..7 the figure colours, 8 brick,
// 9 the row-clear flash, 10 the grid.
std::array<QPixmap, 12> BuiltInPalette();
QPixmap BuiltInBackground();

} // namespace plumix
