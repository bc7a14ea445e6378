#include "engine/board.h"
#include "engine/figures.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace plumix {
namespace {

std::string Shape(const FigureTable& t, int n)
{
    std::string s;
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 5; ++x) {
            s += t[n][x][y] ? '#' : '.';
        }
        s += '|';
    }
    return s;
}

TEST(FigureTable, HoldsSevenKindsOfFourCellsInTheirColours)
{
    FigureTable t{};
    InitFigures(t);
    EXPECT_EQ(Shape(t, 0), ".....|.....|.....|.....|.....|");
    for (int n = 1; n <= FigureCount; ++n) {
        int cells = 0;
        for (int x = 0; x < 5; ++x) {
            for (int y = 0; y < 5; ++y) {
                if (t[n][x][y] != 0) {
                    ++cells;
                    EXPECT_EQ(t[n][x][y], (n - 1) / 4 + 1) << "figure " << n;
                    EXPECT_LT(x, 4);
                    EXPECT_LT(y, 4);
                }
            }
        }
        EXPECT_EQ(cells, 4) << "figure " << n;
    }
    EXPECT_EQ(Shape(t, 1), Shape(t, 4));
    EXPECT_EQ(Shape(t, 5), Shape(t, 7));
    EXPECT_EQ(Shape(t, 17), Shape(t, 19));
    EXPECT_EQ(Shape(t, 21), Shape(t, 23));
    EXPECT_EQ(Shape(t, 9), ".....|.#...|.###.|.....|.....|");
    EXPECT_EQ(Shape(t, 16), ".....|.##..|..#..|..#..|.....|");
    EXPECT_EQ(Shape(t, 28), ".....|.#...|##...|.#...|.....|");
    EXPECT_NE(Shape(t, 13), Shape(t, 9));
}

TEST(FigureTable, EveryCellInBoxRowZeroHasItsOwnCellBelow)
{
    FigureTable t{};
    InitFigures(t);
    for (int n = 1; n <= FigureCount; ++n) {
        for (int x = 0; x < 4; ++x) {
            if (t[n][x][0] != 0) {
                EXPECT_NE(t[n][x][1], 0) << "figure " << n;
            }
        }
    }
}

TEST(Rotation, StepsThroughTheFourStatesOfAKindInTheChosenDirection)
{
    int n = 25;
    std::string clockwise;
    for (int i = 0; i < 4; ++i) {
        n = NextRotation(n, RotateClockwise);
        clockwise += std::to_string(n) + ' ';
    }
    EXPECT_EQ(clockwise, "26 27 28 25 ");
    std::string counter;
    for (int i = 0; i < 4; ++i) {
        n = NextRotation(n, RotateCounterclockwise);
        counter += std::to_string(n) + ' ';
    }
    EXPECT_EQ(counter, "28 27 26 25 ");
    EXPECT_EQ(NextRotation(4, RotateClockwise), 1);
    EXPECT_EQ(NextRotation(1, RotateCounterclockwise), 4);
    EXPECT_EQ(NextRotation(8, RotateClockwise), 5);
    EXPECT_EQ(NextRotation(5, RotateCounterclockwise), 8);
}

TEST(Board, ClearedBoardHasWallsFloorAndAnOpenWell)
{
    Board b;
    ClearBoardCells(b);
    for (int r = 0; r < BoardHeight; ++r) {
        EXPECT_EQ(b.cells[2][r], CellWall);
        EXPECT_EQ(b.cells[13][r], CellWall);
    }
    for (int c = 0; c < BoardWidth; ++c) {
        EXPECT_EQ(b.cells[c][23], CellWall);
    }
    for (int c = 3; c <= 12; ++c) {
        for (int r = 0; r <= 22; ++r) {
            EXPECT_EQ(b.cells[c][r], CellEmpty) << c << "," << r;
        }
    }
    // Coordinates beyond the margin read as wall and are never written.
    EXPECT_EQ(b.At(-4, 0), CellWall);
    EXPECT_EQ(b.At(0, 23), CellWall);
    Board copy = b;
    copy.Set(20, 30, 5);
    EXPECT_EQ(copy, b);
}

} // namespace
} // namespace plumix
