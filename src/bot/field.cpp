#include "bot/field.h"

#include <algorithm>
#include <bit>

namespace plumix::bot {

namespace {

constexpr int FirstFieldIndex = BoardMargin;                  // playfield row 0
constexpr int FloorIndex = BoardMargin + BoardRows;           // playfield row 20

std::array<Shape, FigureCount + 1> MakeShapes()
{
    FigureTable table{};
    InitFigures(table);
    std::array<Shape, FigureCount + 1> shapes{};
    for (int n = 1; n <= FigureCount; ++n) {
        for (int y = 0; y < BoxSize; ++y) {
            for (int x = 0; x < BoxSize; ++x) {
                if (table[static_cast<std::size_t>(n)][x][y] != 0) {
                    shapes[static_cast<std::size_t>(n)].rows[static_cast<std::size_t>(y)] |= RowBits{1} << x;
                    ++shapes[static_cast<std::size_t>(n)].cells;
                }
            }
        }
    }
    return shapes;
}

} // namespace

const std::array<Shape, FigureCount + 1>& Shapes()
{
    static const std::array<Shape, FigureCount + 1> shapes = MakeShapes();
    return shapes;
}

int DistinctRotations(int figure)
{
    switch ((figure - 1) / 4) {
    case 0: return 1;          // square
    case 1: case 4: case 5: return 2;  // bar, S, Z
    default: return 4;
    }
}

Field Field::FromBoard(const Board& board)
{
    Field f;
    for (int y = 0; y < BoardHeight; ++y) {
        RowBits bits = WallBits;
        RowBits brick = 0;
        for (int c = 0; c < BoardColumns; ++c) {
            const std::uint8_t v = board.At(c, y - BoardMargin);
            if (v != CellEmpty) {
                bits |= RowBits{1} << (c + ColumnBit);
            }
            if (v == CellBrick) {
                brick |= RowBits{1} << (c + ColumnBit);
            }
        }
        f.rows[static_cast<std::size_t>(y)] = y >= FloorIndex ? ~RowBits{0} : bits;
        f.bricks[static_cast<std::size_t>(y)] = y >= FloorIndex ? 0 : brick;
    }
    return f;
}

bool Field::Blocked(int figure, int x, int y, int firstRow) const
{
    if (figure < 1 || figure > FigureCount) {
        return false;
    }
    const Shape& s = Shapes()[static_cast<std::size_t>(figure)];
    const int shift = x + ColumnBit;  // box column 0 on playfield column x
    if (shift < 0 || shift > 28) {
        return true;
    }
    for (int by = firstRow; by < BoxSize; ++by) {
        const RowBits mask = s.rows[static_cast<std::size_t>(by)];
        if (mask == 0) {
            continue;
        }
        const int index = y + by + BoardMargin;
        if (index < 0 || index >= BoardHeight) {
            return true;
        }
        if ((rows[static_cast<std::size_t>(index)] & (mask << shift)) != 0) {
            return true;
        }
    }
    return false;
}

bool Field::SpawnBlocked(int figure) const
{
    return BlockedBelow(figure, SpawnX, SpawnY) || Blocked(figure, SpawnX, SpawnY, 1);
}

int Field::DropRow(int figure, int x, int y) const
{
    while (!BlockedBelow(figure, x, y)) {
        ++y;
    }
    return y;
}

LockOutcome Field::Lock(int figure, int x, int y)
{
    LockOutcome out;
    const Shape& s = Shapes()[static_cast<std::size_t>(figure)];
    const int shift = x + ColumnBit;
    std::array<RowBits, BoardHeight> own{};
    out.landingTop = BoardRows;
    out.landingBottom = -BoardMargin;
    for (int by = 0; by < BoxSize; ++by) {
        const RowBits mask = s.rows[static_cast<std::size_t>(by)];
        const int index = y + by + BoardMargin;
        if (mask == 0 || index < 0 || index >= FloorIndex) {
            continue;
        }
        const RowBits placed = (mask << shift) & FieldBits;
        rows[static_cast<std::size_t>(index)] |= placed;
        own[static_cast<std::size_t>(index)] = placed;
        out.landingTop = std::min(out.landingTop, y + by);
        out.landingBottom = std::max(out.landingBottom, y + by);
    }
    // Bottom-up, as the removal sequence goes; rows above the field never move.
    int write = FloorIndex - 1;
    for (int read = FloorIndex - 1; read >= FirstFieldIndex; --read) {
        const auto r = static_cast<std::size_t>(read);
        if ((rows[r] & FieldBits) == FieldBits) {
            ++out.rowsCleared;
            out.bricksRemoved += std::popcount(bricks[r]);
            out.erodedCells += std::popcount(own[r]);
            continue;
        }
        const auto w = static_cast<std::size_t>(write);
        rows[w] = rows[r];
        bricks[w] = bricks[r];
        --write;
    }
    for (; write >= FirstFieldIndex; --write) {
        rows[static_cast<std::size_t>(write)] = WallBits;
        bricks[static_cast<std::size_t>(write)] = 0;
    }
    out.erodedCells *= out.rowsCleared;
    return out;
}

int Field::BrickCount() const
{
    int n = 0;
    for (int y = FirstFieldIndex; y < FloorIndex; ++y) {
        n += std::popcount(bricks[static_cast<std::size_t>(y)]);
    }
    return n;
}

} // namespace plumix::bot
