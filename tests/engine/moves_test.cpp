#include "engine/figures.h"
#include "engine/keys.h"
#include "support/game_harness.h"

#include <gtest/gtest.h>

#include <string>

namespace plumix {
namespace {

using namespace testing;

// A figure's box as text, top row first.
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
    EXPECT_EQ(Shape(t, 16), ".....|.##..|..#..|..#..|.....|");
    EXPECT_EQ(Shape(t, 28), ".....|.#...|##...|.#...|.....|");
}

TEST(Moves, BarStopsAtBothWallsAndOnlyVisibleRowsArePainted)
{
    GameHarness h;
    h.StartClassic(VerticalBar, Square);
    EXPECT_EQ(h.state().figY, -1);
    h.Press(VkLeft, 10);
    EXPECT_EQ(h.state().figX, -1);  // the bar's cells are in box column 1
    EXPECT_EQ(h.cells.board[0], 2);
    EXPECT_EQ(h.cells.board[20], 2);
    EXPECT_EQ(h.cells.board[30], 0);  // box row 0 is above the field
    EXPECT_EQ(h.cells.board[4], 0);   // erased where it started
    h.Press(VkRight, 20);
    EXPECT_EQ(h.state().figX, 8);
    EXPECT_EQ(h.cells.board[9], 2);
    // A cell beside the bar's top alone stops it as well.
    h.Press(VkLeft, 3);
    h.clock.Advance(IntervalAtLevelZero);
    h.SetCell(7, 0, 4);
    h.Press(VkRight);
    EXPECT_EQ(std::pair(h.state().figX, h.state().figY), std::pair(5, 0));
    h.SetCell(5, 0, 4);
    h.Press(VkLeft);
    EXPECT_EQ(h.state().figX, 5);
}

TEST(Moves, RotationStepsThroughAKindInTheChosenDirectionAndIsRefusedIntoAWallOrTheStack)
{
    for (auto [from, to] : {std::pair{25, 26}, {26, 27}, {27, 28}, {28, 25}, {4, 1}, {8, 5}}) {
        EXPECT_EQ(NextRotation(from, Rotation::Clockwise), to) << from;
        EXPECT_EQ(NextRotation(to, Rotation::Counterclockwise), from) << to;
    }
    GameHarness h;
    h.StartClassic(VerticalBar, Square);
    h.Press(VkLeft, 10);
    h.Press(VkUp);
    EXPECT_EQ(h.state().curFigure, VerticalBar);
    h.Press(VkRight, 3);
    h.Press(VkUp);
    EXPECT_EQ(h.state().curFigure, 6);
    h.options.rotation = Rotation::Counterclockwise;
    h.Press(VkUp, 2);
    EXPECT_EQ(h.state().curFigure, 8);

    GameHarness s;
    s.StartClassic(J, Square);
    s.SetCell(5, 0, 4);  // J 9 turns into 10, which needs (5, 0)
    s.Press(VkUp);
    EXPECT_EQ(s.state().curFigure, J);
    EXPECT_TRUE(s.sounds.played.empty());  // turning is silent

    // J 12 has a cell in its box's top row, which the fall's checks skip.
    s.options.rotation = Rotation::Counterclockwise;
    s.clock.RunUntil([&] { return s.state().figY == 1; });
    s.SetCell(5, 1, 4);
    s.Press(VkUp);
    EXPECT_EQ(s.state().curFigure, J);
}

TEST(Moves, MoveDuringFallOffFreezesTheFigureOnceDropping)
{
    for (const bool setting : {true, false}) {
        GameHarness h;
        h.options.moveDuringFall = setting;
        h.StartClassic(VerticalBar, Square);
        h.Press(VkDown);
        h.clock.Advance(90);
        h.Press(VkLeft);
        h.Press(VkUp);
        EXPECT_EQ(h.state().figX, setting ? 2 : 3);
        EXPECT_EQ(h.state().curFigure, setting ? 6 : VerticalBar);
    }
}

TEST(Moves, EachKeyOnAFallingFigureAndTheMouseChangeTheFiguresToComeOtherKeysDoNot)
{
    GameHarness h;
    h.Press(VkLeft);  // no game yet
    h.StartClassic(VerticalBar, Square);
    ASSERT_EQ(std::pair(h.state().curFigure, h.state().nextFigure), std::pair(VerticalBar, Square));
    for (const int figure : {9, 13, 17, 21}) {
        h.random.PushFigure(figure);  // the figures to come, one skipped per stir
    }
    h.Press(VkLeft);
    h.Press('A');
    h.game->PauseGame();
    h.Press(VkLeft);  // paused: neither moves nor stirs
    EXPECT_EQ(h.state().figX, SpawnX - 1);
    h.game->MouseMovedOverBoard();
    h.game->TogglePause();
    h.FallUntilLocked();
    h.Press(VkDown);  // during the removal the figure is part of the board
    h.RunUntilNextFigure();
    EXPECT_EQ(std::pair(h.state().curFigure, h.state().nextFigure), std::pair(Square, 21));
}

TEST(Moves, PreviewShowsTheNextFigureOnlyWhenWanted)
{
    GameHarness h;
    h.StartClassic(Square, J);  // .... .#.. .### ....
    EXPECT_EQ(h.cells.preview, (std::array<int, 16>{0, 0, 0, 0, 0, 3, 0, 0, 0, 3, 3, 3, 0, 0, 0, 0}));
    GameHarness hidden;
    hidden.options.showNext = false;
    hidden.options.showGrid = 1;
    hidden.StartClassic(Square, J);
    EXPECT_EQ(hidden.cells.preview, (std::array<int, 16>{10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10}));
}

// Records the row of each flash and checks its cells show the flash picture.
std::vector<int> WatchFlashes(GameHarness& h)
{
    auto rows = std::make_shared<std::vector<int>>();
    h.clock.handler = [&h, rows](TimerId id) {
        h.game->OnTimer(id);
        if (id == TimerId::Terminate && h.state().clearPhase == ClearPhase::Collapse) {
            rows->push_back(h.state().clearRow);
            EXPECT_EQ(h.cells.board[h.state().clearRow * 10 + 5], PaletteClearFlash);
            EXPECT_EQ(h.sounds.played.back(), SoundEffect::RowFlash);
        }
    };
    h.RunUntilNextFigure();
    return *rows;
}

TEST(Clearing, FullRowsFlashAndCollapseOneByOneAndScoreByHowManyGoAtOnce)
{
    // Full rows under the bar and the points they earn.
    for (const auto& [n, points] : {std::pair(0, 0), {1, 10}, {2, 25}, {3, 50}, {4, 100}}) {
        SCOPED_TRACE(std::to_string(n) + " rows");
        GameHarness h;
        h.StartClassic(VerticalBar, Square);
        for (int r = BoardRows - n; r < BoardRows; ++r) {
            h.FillRow(r, 4);
        }
        h.SetCell(0, BoardRows - 1 - n, 6);  // a cell above the rows rides down
        h.SetCell(1, 0, 6);                  // and so does the top row, leaving it empty
        h.Press(VkDown);
        const auto locked = h.FallUntilLocked();
        EXPECT_FALSE(h.clock.Running(TimerId::Figure));
        EXPECT_EQ(WatchFlashes(h), std::vector<int>(static_cast<std::size_t>(n), 19));
        EXPECT_EQ(h.clock.Now() - locked, (3 * n + 2) * TerminateInterval);
        EXPECT_EQ(h.state().score, 17 + points);
        std::array<int, 4> lines{};
        std::string top;
        for (int r = 1; r <= n; ++r) {
            lines[static_cast<std::size_t>(r - 1)] = r == n ? 1 : 0;
            top += "..........|";
        }
        EXPECT_EQ(h.state().lines, lines);
        EXPECT_EQ(h.Rows(0, n), top + ".6........|");
        EXPECT_EQ(h.Rows(19, 19), n < 4 ? "6...2.....|" : "6.........|");
        EXPECT_EQ(h.cells.board[190], 6);
        EXPECT_EQ(h.state().curFigure, Square);
    }
}

} // namespace
} // namespace plumix
