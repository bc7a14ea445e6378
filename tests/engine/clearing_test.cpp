#include "engine/keys.h"
#include "support/game_harness.h"

#include <gtest/gtest.h>

namespace plumix {
namespace {

using testing::GameHarness;

constexpr int VerticalBar = 5;
constexpr int Square = 1;

TEST(Clearing, LockWithoutFullRowPlacesTheNextFigureTwoTicksLater)
{
    GameHarness h;
    h.StartClassic(Square, VerticalBar);
    const auto locked = h.FallUntilLocked();
    EXPECT_EQ(h.Rows(18, 19), "....11....|....11....|");
    EXPECT_FALSE(h.clock.Running(TimerId::Figure));
    EXPECT_TRUE(h.clock.Running(TimerId::Terminate));
    EXPECT_EQ(h.RunUntilNextFigure() - locked, 2 * TerminateInterval);
    EXPECT_EQ(h.state().score, 0);
    EXPECT_EQ(h.state().curFigure, VerticalBar);
    EXPECT_FALSE(h.clock.Running(TimerId::Terminate));
}

TEST(Clearing, FourRowsFlashAndCollapseBottomUpAndScoreOneHundred)
{
    GameHarness h;
    h.StartClassic(VerticalBar, Square);
    for (int r = 16; r <= 19; ++r) {
        h.FillRow(r, {4});
    }
    h.game->MutableBoard().Set(0, 15, 6);  // a cell above the rows rides down
    h.Press(VkDown);
    const auto locked = h.FallUntilLocked();
    EXPECT_EQ(h.state().score, 17);

    std::vector<int> flashedRows;
    int clearSounds = 0;
    h.clock.SetHandler([&](TimerId id) {
        h.game->OnTimer(id);
        if (id == TimerId::Terminate && h.state().clearPhase == ClearPhase::Collapse) {
            flashedRows.push_back(h.state().clearRow);
            for (int c = 0; c < BoardColumns; ++c) {
                EXPECT_EQ(h.cells.board[h.state().clearRow * 10 + c], PaletteClearFlash);
            }
            clearSounds += h.sounds.played.back() == "clear";
        }
    });
    const auto placed = h.RunUntilNextFigure();
    EXPECT_EQ(placed - locked, (3 * 4 + 2) * TerminateInterval);  // 560 ms
    EXPECT_EQ(flashedRows, (std::vector<int>{19, 19, 19, 19}));
    EXPECT_EQ(clearSounds, 4);
    EXPECT_EQ(h.state().score, 117);
    EXPECT_EQ(h.state().lines, (std::array<int, 4>{0, 0, 0, 1}));
    EXPECT_EQ(h.Rows(0, 19).substr(19 * 11), "6.........|");
    EXPECT_EQ(h.cells.board[190], 6);
    EXPECT_EQ(h.cells.board[0], 0);
}

TEST(Clearing, PartialRowBetweenTwoFullRowsMovesDownAndSurvives)
{
    GameHarness h;
    h.StartClassic(VerticalBar, Square);
    h.FillRow(19, {4});
    h.FillRow(18, {0, 4});
    h.FillRow(17, {4});
    h.Press(VkDown);
    const auto locked = h.FallUntilLocked();
    std::vector<int> removed;
    h.clock.SetHandler([&](TimerId id) {
        h.game->OnTimer(id);
        if (id == TimerId::Terminate && h.state().clearPhase == ClearPhase::Collapse) {
            removed.push_back(h.state().clearRow);
        }
    });
    EXPECT_EQ(h.RunUntilNextFigure() - locked, 8 * TerminateInterval);
    EXPECT_EQ(removed, (std::vector<int>{19, 18}));
    EXPECT_EQ(h.Rows(18, 19), "....2.....|.333233333|");
    EXPECT_EQ(h.state().score, 17 + 25);
    EXPECT_EQ(h.state().lines, (std::array<int, 4>{0, 1, 0, 0}));
}

TEST(Clearing, RowWithABrickIsFullAndScoresLikeAnyOther)
{
    GameHarness h;
    h.StartClassic(VerticalBar, Square);
    h.FillRow(19, {4});
    h.game->MutableBoard().Set(7, 19, CellBrick);
    h.FallUntilLocked();
    h.RunUntilNextFigure();
    EXPECT_EQ(h.state().score, 10);
    EXPECT_EQ(h.state().lines[0], 1);
    EXPECT_EQ(h.Rows(19, 19), "....2.....|");
}

TEST(Clearing, ArrowKeysDoNothingWhileRowsAreRemoved)
{
    GameHarness h;
    h.StartClassic(VerticalBar, Square);
    h.FillRow(19, {4});
    h.FallUntilLocked();
    const int draws = h.random.Draws();
    const Board before = h.game->GetBoard();
    h.Press(VkLeft);
    h.Press(VkUp);
    h.Press(VkDown);
    EXPECT_EQ(h.random.Draws(), draws);
    EXPECT_EQ(h.game->GetBoard(), before);
    EXPECT_EQ(h.clock.Interval(TimerId::Figure), 1070);
}

} // namespace
} // namespace plumix
