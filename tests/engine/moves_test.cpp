#include "engine/keys.h"
#include "support/game_harness.h"

#include <gtest/gtest.h>

namespace plumix {
namespace {

using testing::GameHarness;

constexpr int VerticalBar = 5;
constexpr int Square = 1;
constexpr int J = 9;

TEST(Moves, BarStopsAtBothWalls)
{
    GameHarness h;
    h.StartClassic(VerticalBar, Square);
    EXPECT_EQ(h.state().figX, 3);
    EXPECT_EQ(h.state().figY, -1);
    h.Press(VkLeft, 10);
    EXPECT_EQ(h.state().figX, -1);  // the bar's cells are in box column 1
    // Only the visible rows of the box are painted: rows 0..2 of column 0.
    EXPECT_EQ(h.cells.board[0], 2);
    EXPECT_EQ(h.cells.board[20], 2);
    EXPECT_EQ(h.cells.board[30], 0);
    EXPECT_EQ(h.cells.board[4], 0);  // erased where it started
    h.Press(VkRight, 20);
    EXPECT_EQ(h.state().figX, 8);
    EXPECT_EQ(h.cells.board[9], 2);
}

TEST(Moves, RotationIntoAWallOrStackIsRefused)
{
    GameHarness h;
    h.StartClassic(VerticalBar, Square);
    h.Press(VkLeft, 10);
    h.Press(VkUp);
    EXPECT_EQ(h.state().curFigure, VerticalBar);
    EXPECT_EQ(h.state().figX, -1);

    // Away from the wall it turns, in place, in the chosen direction.
    h.Press(VkRight, 3);
    h.Press(VkUp);
    EXPECT_EQ(h.state().curFigure, 6);
    h.settings.rotateDir = RotateCounterclockwise;
    h.Press(VkUp);
    EXPECT_EQ(h.state().curFigure, VerticalBar);
    h.Press(VkUp);
    EXPECT_EQ(h.state().curFigure, 8);

    // A locked cell where the turned figure would lie blocks the turn too.
    GameHarness s;
    s.StartClassic(J, Square);
    s.game->MutableBoard().Set(5, 0, 4);  // J 9 turns into 10, which needs (5, 0)
    s.Press(VkUp);
    EXPECT_EQ(s.state().curFigure, J);
    EXPECT_TRUE(s.sounds.played.empty());  // turning is silent
}

TEST(Moves, FastDropStartsOnceScoresPerRowAndKeepsItsPace)
{
    GameHarness h;
    h.StartClassic(VerticalBar, Square);
    h.Press(VkDown);
    h.Press(VkDown);
    EXPECT_EQ(h.sounds.played, std::vector<std::string>{"rotate"});
    EXPECT_EQ(h.clock.Interval(TimerId::Figure), FastDropInterval);
    EXPECT_TRUE(h.state().dropping);
    h.FallUntilLocked();
    // From row -1 to row 16: 17 rows of fast drop, locked on the next tick.
    EXPECT_EQ(h.clock.Now(), 18 * 30);
    EXPECT_EQ(h.state().score, 17);
    EXPECT_EQ(h.sounds.played.back(), "drop");
    h.RunUntilNextFigure();
    EXPECT_EQ(h.clock.Interval(TimerId::Figure), 1070);
    EXPECT_FALSE(h.state().dropping);
}

TEST(Moves, MoveDuringFallOffFreezesSidewaysMovesOnceDropping)
{
    GameHarness off;
    off.settings.moveDuringFall = 2;
    off.StartClassic(VerticalBar, Square);
    off.Press(VkLeft);
    EXPECT_EQ(off.state().figX, 2);
    off.Press(VkDown);
    off.Press(VkLeft);
    off.Press(VkUp);
    EXPECT_EQ(off.state().figX, 2);
    EXPECT_EQ(off.state().curFigure, VerticalBar);

    GameHarness on;
    on.StartClassic(VerticalBar, Square);
    on.Press(VkDown);
    on.clock.Advance(90);
    on.Press(VkLeft);
    on.Press(VkUp);
    EXPECT_EQ(on.state().figX, 2);
    EXPECT_EQ(on.state().curFigure, 6);
}

TEST(Moves, KeysOnAFallingFigureStirTheRandomSequenceOthersDoNot)
{
    GameHarness h;
    h.Press(VkLeft);  // no game yet
    EXPECT_EQ(h.random.Draws(), 0);
    h.StartClassic(VerticalBar, Square);
    EXPECT_EQ(h.random.Draws(), 2);  // the first figure and the preview
    h.Press(VkLeft);
    h.Press('A');
    EXPECT_EQ(h.random.Draws(), 4);
    h.game->PauseGame();
    h.Press(VkLeft);
    EXPECT_EQ(h.random.Draws(), 4);
    EXPECT_EQ(h.state().figX, 2);
    h.game->MouseMovedOverBoard();
    EXPECT_EQ(h.random.Draws(), 5);
}

TEST(Moves, PreviewShowsTheNextFigureOnlyWhenWanted)
{
    GameHarness h;
    h.StartClassic(Square, 9);  // J, state 1: .... .#.. .### ....
    EXPECT_EQ(h.cells.preview[5], 3);
    EXPECT_EQ(h.cells.preview[9], 3);
    EXPECT_EQ(h.cells.preview[10], 3);
    EXPECT_EQ(h.cells.preview[11], 3);
    EXPECT_EQ(h.cells.preview[0], 0);

    GameHarness hidden;
    hidden.settings.showNext = 2;
    hidden.settings.showGrid = 1;
    hidden.StartClassic(Square, 9);
    for (int p : hidden.cells.preview) {
        EXPECT_EQ(p, 10);
    }
}

} // namespace
} // namespace plumix
