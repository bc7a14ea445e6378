#include "engine/figures.h"

#include <gtest/gtest.h>

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

TEST(FigureTable, SevenKindsOfFourCellsInTheirColoursAndNothingOutsideTheBox)
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
                    EXPECT_EQ(t[n][x][y], (n - 1) / 4 + 1) << n;
                    EXPECT_TRUE(x < 4 && y < 4) << n;
                    // A cell in box row 0 always has one of its own below it.
                    EXPECT_TRUE(y != 0 || t[n][x][1] != 0) << n;
                }
            }
        }
        EXPECT_EQ(cells, 4) << n;
    }
    EXPECT_EQ(Shape(t, 1), Shape(t, 4));
    EXPECT_EQ(Shape(t, 5), Shape(t, 7));
    EXPECT_EQ(Shape(t, 17), Shape(t, 19));
    EXPECT_EQ(Shape(t, 21), Shape(t, 23));
    EXPECT_EQ(Shape(t, 9), ".....|.#...|.###.|.....|.....|");
    EXPECT_EQ(Shape(t, 16), ".....|.##..|..#..|..#..|.....|");
    EXPECT_EQ(Shape(t, 28), ".....|.#...|##...|.#...|.....|");
}

TEST(FigureTable, RotationStepsThroughAKindInTheChosenDirection)
{
    std::string clockwise;
    std::string counter;
    for (int i = 0, a = 25, b = 25; i < 4; ++i) {
        a = NextRotation(a, RotateClockwise);
        b = NextRotation(b, RotateCounterclockwise);
        clockwise += std::to_string(a) + ' ';
        counter += std::to_string(b) + ' ';
    }
    EXPECT_EQ(clockwise, "26 27 28 25 ");
    EXPECT_EQ(counter, "28 27 26 25 ");
    EXPECT_EQ(NextRotation(4, RotateClockwise), 1);
    EXPECT_EQ(NextRotation(5, RotateCounterclockwise), 8);
}

} // namespace
} // namespace plumix
