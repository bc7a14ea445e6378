// The automatic player's own copy of the field: one bit per cell, walls and
// floor included, so that trying a placement and measuring the result is a
// handful of word operations instead of a walk over the board's bytes.
#pragma once

#include "engine/board.h"
#include "engine/figures.h"

#include <array>
#include <cstdint>

namespace plumix::bot {

using RowBits = std::uint32_t;

// Playfield column c is bit c + ColumnBit; everything outside the ten columns
// reads as wall, so a shifted figure mask can never slip past the sides.
inline constexpr int ColumnBit = 11;
inline constexpr RowBits FieldBits = ((RowBits{1} << BoardColumns) - 1) << ColumnBit;
inline constexpr RowBits WallBits = ~FieldBits;

// A figure state as four row masks of its box, box column x at bit x.
struct Shape {
    std::array<RowBits, BoxSize> rows{};
    int cells = 0;
};

// The shapes of figures 1..28 (entry 0 empty), read from the engine's table.
const std::array<Shape, FigureCount + 1>& Shapes();

// Kinds whose four states show only one or two distinct shapes.
int DistinctRotations(int figure);

struct LockOutcome {
    int rowsCleared = 0;
    int bricksRemoved = 0;
    int erodedCells = 0;   // cells of the locked figure that left with the rows
    int landingTop = 0;    // playfield rows the figure covered when it locked
    int landingBottom = 0;
};

struct Field {
    // Index = playfield row + BoardMargin: rows -3..19, then the floor.
    std::array<RowBits, BoardHeight> rows{};
    std::array<RowBits, BoardHeight> bricks{};

    static Field FromBoard(const Board& board);

    // The engine's collision test: box rows from `firstRow` on, at (x, y).
    bool Blocked(int figure, int x, int y, int firstRow = 0) const;
    bool BlockedBelow(int figure, int x, int y) const { return Blocked(figure, x, y + 1, 1); }
    // A new figure at the spawn place ends the game when this holds.
    bool SpawnBlocked(int figure) const;
    // The row the figure comes to rest on when it falls straight from y.
    int DropRow(int figure, int x, int y) const;

    // Writes the figure in and removes the full rows as the engine does.
    LockOutcome Lock(int figure, int x, int y);

    int BrickCount() const;
};

} // namespace plumix::bot
