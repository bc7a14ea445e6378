// The cell pictures the rules name: the palette Block(0..11) that the board and
// the preview show. Painting a cell means storing one of these indices.
#pragma once

#include "engine/play_options.h"

#include <cstdint>

namespace plumix {

inline constexpr int PaletteSize = 12;
inline constexpr int PalettePlainEmpty = 0;  // no picture: the background shows
inline constexpr int PaletteBrick = 8;
inline constexpr int PaletteClearFlash = 9;
inline constexpr int PaletteGrid = 10;
inline constexpr int FigureColours = 7;      // Block(1..7)

// The empty cell: the grid picture while the grid is shown, else the plain
// background.
inline int EmptyCellPalette(const PlayOptions& options)
{
    return options.showGrid ? PaletteGrid : PalettePlainEmpty;
}

// The picture of a board cell holding `value`. A level file made elsewhere
// may hold values without a picture of their own: 10 would show the grid
// picture, an empty cell to the eye, and 11 nothing at all, though both
// block. Every such value is drawn as the figure colour it folds onto, so it
// looks like what it is: a block that is not a brick.
inline int PaletteForCell(std::uint8_t value, int emptyPalette)
{
    if (value == 0) {
        return emptyPalette;
    }
    if (value <= PaletteClearFlash) {
        return value;
    }
    return (value - 1) % FigureColours + 1;
}

} // namespace plumix
