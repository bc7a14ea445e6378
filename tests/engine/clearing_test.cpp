#include "engine/keys.h"
#include "support/game_harness.h"

#include <gtest/gtest.h>

namespace plumix {
namespace {

using testing::GameHarness;

constexpr int Square = 1;
constexpr int VerticalBar = 5;

// Records the row of each flash and checks its cells show the flash picture.
std::vector<int> WatchFlashes(GameHarness& h)
{
    auto rows = std::make_shared<std::vector<int>>();
    h.clock.handler = [&h, rows](TimerId id) {
        h.game->OnTimer(id);
        if (id == TimerId::Terminate && h.state().clearPhase == ClearPhase::Collapse) {
            rows->push_back(h.state().clearRow);
            EXPECT_EQ(h.cells.board[h.state().clearRow * 10 + 5], PaletteClearFlash);
            EXPECT_EQ(h.sounds.played.back(), "clear");
        }
    };
    h.RunUntilNextFigure();
    return *rows;
}

TEST(Clearing, LockWithoutFullRowPlacesTheNextFigureTwoTicksLater)
{
    GameHarness h;
    h.StartClassic(Square, VerticalBar);
    const auto locked = h.FallUntilLocked();
    EXPECT_EQ(h.Rows(18, 19), "....11....|....11....|");
    EXPECT_FALSE(h.clock.Running(TimerId::Figure));
    EXPECT_EQ(h.RunUntilNextFigure() - locked, 2 * TerminateInterval);
    EXPECT_EQ(h.state().score, 0);
    EXPECT_EQ(h.state().curFigure, VerticalBar);
    EXPECT_FALSE(h.clock.Running(TimerId::Terminate));
}

TEST(Clearing, FourRowsFlashAndCollapseOneByOneAndScoreOneHundred)
{
    GameHarness h;
    h.StartClassic(VerticalBar, Square);
    for (int r = 16; r <= 19; ++r) {
        h.FillRow(r, 4);
    }
    h.game->MutableBoard().Set(0, 15, 6);  // a cell above the rows rides down
    h.Press(VkDown);
    const auto locked = h.FallUntilLocked();
    EXPECT_EQ(WatchFlashes(h), (std::vector<int>{19, 19, 19, 19}));
    EXPECT_EQ(h.clock.Now() - locked, (3 * 4 + 2) * TerminateInterval);  // 560 ms
    EXPECT_EQ(h.state().score, 17 + 100);
    EXPECT_EQ(h.state().lines, (std::array<int, 4>{0, 0, 0, 1}));
    EXPECT_EQ(h.Rows(19, 19), "6.........|");
    EXPECT_EQ(h.cells.board[190], 6);
}

TEST(Clearing, PartialRowBetweenTwoFullRowsMovesDownAndSurvives)
{
    GameHarness h;
    h.StartClassic(VerticalBar, Square);
    h.FillRow(19, 4);
    h.FillRow(18, 4);
    h.game->MutableBoard().Set(0, 18, CellEmpty);
    h.FillRow(17, 4);
    h.game->MutableBoard().Set(7, 17, CellBrick);  // a brick fills a row like any cell
    h.FallUntilLocked();
    EXPECT_EQ(WatchFlashes(h), (std::vector<int>{19, 18}));
    EXPECT_EQ(h.Rows(18, 19), "....2.....|.333233333|");
    EXPECT_EQ(h.state().score, 25);
    EXPECT_EQ(h.state().lines, (std::array<int, 4>{0, 1, 0, 0}));
}

} // namespace
} // namespace plumix
