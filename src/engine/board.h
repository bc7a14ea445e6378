// The playing field: the 10 x 20 well inside a three-cell margin of wall and
// floor, so a figure's 4 x 4 box may stand partly outside the field while every
// index stays inside the array.
#pragma once

#include <array>
#include <cstdint>

namespace plumix {

inline constexpr int BoardColumns = 10;
inline constexpr int BoardRows = 20;
inline constexpr int BoardMargin = 3;
inline constexpr int BoardWidth = BoardColumns + 2 * BoardMargin;  // 16
inline constexpr int BoardHeight = BoardRows + 2 * BoardMargin;    // 26
inline constexpr int BoardCellCount = BoardColumns * BoardRows;    // 200
inline constexpr int PreviewCellCount = 16;

// Cell values.
inline constexpr std::uint8_t CellEmpty = 0;
inline constexpr std::uint8_t CellWall = 1;
inline constexpr std::uint8_t CellBrick = 8;

// The visible field alone, cells[column][row], as a level lays it out.
using FieldCells = std::array<std::array<std::uint8_t, BoardRows>, BoardColumns>;

struct Board {
    // cells[column][row] in array coordinates; playfield cell (c, r) is
    // cells[c + 3][r + 3].
    std::array<std::array<std::uint8_t, BoardHeight>, BoardWidth> cells{};

    // Playfield coordinates: column -3..12, row -3..22. Anything further out
    // reads as wall, so a stray coordinate can never index past the array.
    std::uint8_t At(int column, int row) const
    {
        const int x = column + BoardMargin;
        const int y = row + BoardMargin;
        if (x < 0 || x >= BoardWidth || y < 0 || y >= BoardHeight) {
            return CellWall;
        }
        return cells[x][y];
    }
    void Set(int column, int row, std::uint8_t value)
    {
        const int x = column + BoardMargin;
        const int y = row + BoardMargin;
        if (x >= 0 && x < BoardWidth && y >= 0 && y < BoardHeight) {
            cells[x][y] = value;
        }
    }
    bool operator==(const Board&) const = default;
};

// Walls and floor to 1, the field and the open space above it to 0.
void ClearBoardCells(Board& board);

} // namespace plumix
