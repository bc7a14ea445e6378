#include "engine/figures.h"

#include <string_view>

namespace plumix {

namespace {

// Each state as four rows of four cells, top row first; '#' is a cell of the
// kind's colour. The kinds are, in order: square, bar, J, L, S, Z, T.
constexpr std::string_view Shapes[FigureCount] = {
    "....|.##.|.##.|....", "....|.##.|.##.|....", "....|.##.|.##.|....", "....|.##.|.##.|....",
    ".#..|.#..|.#..|.#..", "....|####|....|....", ".#..|.#..|.#..|.#..", "....|####|....|....",
    "....|.#..|.###|....", "....|.##.|.#..|.#..", "....|###.|..#.|....", "..#.|..#.|.##.|....",
    "....|..#.|###.|....", ".#..|.#..|.##.|....", "....|.###|.#..|....", "....|.##.|..#.|..#.",
    "....|.##.|##..|....", ".#..|.##.|..#.|....", "....|.##.|##..|....", ".#..|.##.|..#.|....",
    "....|.##.|..##|....", "..#.|.##.|.#..|....", "....|.##.|..##|....", "..#.|.##.|.#..|....",
    "....|.#..|###.|....", "....|.#..|.##.|.#..", "....|....|###.|.#..", "....|.#..|##..|.#..",
};

} // namespace

void InitFigures(FigureTable& figures)
{
    figures = {};
    for (int n = 1; n <= FigureCount; ++n) {
        const std::string_view shape = Shapes[n - 1];
        const auto colour = static_cast<std::uint8_t>((n - 1) / 4 + 1);
        for (int y = 0; y < BoxSize; ++y) {
            for (int x = 0; x < BoxSize; ++x) {
                if (shape[static_cast<std::size_t>(y * 5 + x)] == '#') {
                    figures[n][x][y] = colour;
                }
            }
        }
    }
}

int NextRotation(int n, Rotation rotation)
{
    const int base = 4 * ((n - 1) / 4);
    if (rotation == Rotation::Clockwise) {
        return n + 1 == base + 5 ? n - 3 : n + 1;
    }
    return n - 1 == base ? n + 3 : n - 1;
}

} // namespace plumix
