// The constant table of the 28 figure states (seven kinds in four rotation
// states each) and the rotation rule that steps through a kind's states.
#pragma once

#include "engine/play_options.h"

#include <array>
#include <cstdint>

namespace plumix {

inline constexpr int FigureCount = 28;
inline constexpr int BoxSize = 4;
// Where a new figure's box is placed: playfield column and row of its top left.
inline constexpr int SpawnX = 3;
inline constexpr int SpawnY = -1;

// Figures[n][x][y]: colour code 1..7 of box cell (x, y) of figure n, 0 where the
// box is empty. The box is stored 5 x 5 with the fifth row and column always 0,
// and entry 0 is the empty figure.
using FigureBox = std::array<std::array<std::uint8_t, 5>, 5>;
using FigureTable = std::array<FigureBox, FigureCount + 1>;

void InitFigures(FigureTable& figures);

// The number one rotation step from figure n (1..28) in `rotation`: clockwise
// steps forward inside the kind's group of four.
int NextRotation(int n, Rotation rotation);

} // namespace plumix
