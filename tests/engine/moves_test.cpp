#include "engine/keys.h"
#include "support/game_harness.h"

#include <gtest/gtest.h>

namespace plumix {
namespace {

using testing::GameHarness;

constexpr int Square = 1;
constexpr int VerticalBar = 5;
constexpr int J = 9;

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
}

TEST(Moves, RotationIntoAWallOrTheStackIsRefusedAndTurnsInTheChosenDirection)
{
    GameHarness h;
    h.StartClassic(VerticalBar, Square);
    h.Press(VkLeft, 10);
    h.Press(VkUp);
    EXPECT_EQ(h.state().curFigure, VerticalBar);
    h.Press(VkRight, 3);
    h.Press(VkUp);
    EXPECT_EQ(h.state().curFigure, 6);
    h.settings.rotateDir = RotateCounterclockwise;
    h.Press(VkUp, 2);
    EXPECT_EQ(h.state().curFigure, 8);

    GameHarness s;
    s.StartClassic(J, Square);
    s.game->MutableBoard().Set(5, 0, 4);  // J 9 turns into 10, which needs (5, 0)
    s.Press(VkUp);
    EXPECT_EQ(s.state().curFigure, J);
    EXPECT_TRUE(s.sounds.played.empty());  // turning is silent
}

TEST(Moves, FastDropStartsOnceScoresPerRowAndEndsWithItsFigure)
{
    GameHarness h;
    h.StartClassic(VerticalBar, Square);
    h.Press(VkDown, 2);
    EXPECT_EQ(h.sounds.played, std::vector<std::string>{"rotate"});
    EXPECT_EQ(h.clock.Interval(TimerId::Figure), FastDropInterval);
    // From row -1 to row 16: 17 rows at 30 ms, locked on the next tick.
    EXPECT_EQ(h.FallUntilLocked(), 18 * 30);
    EXPECT_EQ(h.state().score, 17);
    EXPECT_EQ(h.sounds.played.back(), "drop");
    h.RunUntilNextFigure();
    EXPECT_EQ(h.clock.Interval(TimerId::Figure), 1070);
    EXPECT_FALSE(h.state().dropping);
}

TEST(Moves, MoveDuringFallOffFreezesTheFigureOnceDropping)
{
    for (std::uint8_t setting : {1, 2}) {
        GameHarness h;
        h.settings.moveDuringFall = setting;
        h.StartClassic(VerticalBar, Square);
        h.Press(VkDown);
        h.clock.Advance(90);
        h.Press(VkLeft);
        h.Press(VkUp);
        EXPECT_EQ(h.state().figX, setting == 2 ? 3 : 2);
        EXPECT_EQ(h.state().curFigure, setting == 2 ? VerticalBar : 6);
    }
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
    h.game->ResumeGame();
    h.FallUntilLocked();  // while the lock's removal runs, keys draw nothing
    h.Press(VkDown);
    EXPECT_EQ(h.random.Draws(), 5);
    EXPECT_FALSE(h.clock.IsEnabled(TimerId::Figure));
}

TEST(Moves, PreviewShowsTheNextFigureOnlyWhenWanted)
{
    GameHarness h;
    h.StartClassic(Square, J);  // .... .#.. .### ....
    EXPECT_EQ(h.cells.preview, (std::array<int, 16>{0, 0, 0, 0, 0, 3, 0, 0, 0, 3, 3, 3, 0, 0, 0, 0}));
    GameHarness hidden;
    hidden.settings.showNext = 2;
    hidden.settings.showGrid = 1;
    hidden.StartClassic(Square, J);
    EXPECT_EQ(hidden.cells.preview, (std::array<int, 16>{10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10}));
}

} // namespace
} // namespace plumix
