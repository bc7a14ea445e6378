#include "engine/keys.h"
#include "support/game_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace plumix {
namespace {

using testing::GameHarness;

// Walls and floor intact, cell values sane, nothing painted outside the
// model, and a falling figure never overlapping the board.
void ExpectSane(const GameHarness& h)
{
    const Board& b = h.game->GetBoard();
    for (int c = -3; c < 13; ++c) {
        for (int r = -3; r < 23; ++r) {
            const bool wall = c < 0 || c > 9 || r > 19;
            ASSERT_TRUE(wall ? b.At(c, r) == CellWall : b.At(c, r) <= CellBrick) << c << "," << r;
        }
    }
    ASSERT_FALSE(h.cells.outOfRange);
    const GameState& s = h.state();
    if (s.FigureActive()) {
        ASSERT_TRUE(s.curFigure >= 1 && s.curFigure <= 28);
        FigureTable figures{};
        InitFigures(figures);
        const auto& box = figures[s.curFigure];
        for (int x = 0; x < 4; ++x) {
            for (int y = 0; y < 4; ++y) {
                ASSERT_TRUE(box[x][y] == 0 || b.At(s.figX + x, s.figY + y) == 0);
            }
        }
    }
}

TEST(BadInput, AnyKeysTicksAndMenuActionsInAnyOrderKeepTheGameSane)
{
    int gamesEnded = 0;
    std::int64_t rowsRemoved = 0;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        GameHarness h;
        std::mt19937 rng(seed);
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        for (int i = 0; i < 20000; ++i) {
            h.random.Push(unit(rng));
        }
        h.options.moveDuringFall = static_cast<std::uint8_t>(seed % 3);
        h.options.rotation = seed % 2 == 0 ? Rotation::Clockwise : Rotation::Counterclockwise;
        h.dialogs.answers = {true, false, true, true, false};
        const int keys[] = {VkLeft, VkRight, VkUp, VkDown, VkSpace, 0, -1, 65535, 100000, VkF2, 13};
        for (int step = 0; step < 3000; ++step) {
            const GameState before = h.state();
            const Board boardBefore = h.game->GetBoard();
            const int action = static_cast<int>(rng() % 100);
            bool onlyTheFigure = false;  // may move a falling figure, nothing else
            if (action < 55) {
                h.game->KeyDown(keys[rng() % std::size(keys)]);
                onlyTheFigure = true;
            } else if (action < 70) {
                h.clock.Advance(static_cast<int>(rng() % 2000));
            } else if (action < 85) {
                // Ticks of every timer at any moment, running or not.
                const auto id = static_cast<TimerId>(rng() % TimerCount);
                h.game->OnTimer(id);
                onlyTheFigure = id == TimerId::Figure;
            } else if (action < 90) {
                h.game->TogglePause();
            } else if (action < 93 && (before.gameMode == GameMode::None || rng() % 8 == 0)) {
                h.game->NewClassicGame();
            } else {
                // Full rows and rows with a hole below the falling figure, so
                // rows are removed and stacks grow until games end.
                const int top = std::max(5, before.FigureActive() ? before.figY + 4 : 5);
                if (top < BoardRows) {
                    const int row = top + static_cast<int>(rng() % static_cast<unsigned>(BoardRows - top));
                    h.FillRow(row, rng() % 2 == 0 ? -1 : static_cast<int>(rng() % 10));
                }
            }
            ExpectSane(h);
            if (onlyTheFigure && !before.FigureActive()) {
                ASSERT_EQ(h.game->GetBoard(), boardBefore) << "seed " << seed << " step " << step;
                ASSERT_EQ(std::make_pair(h.state().figX, h.state().figY), std::make_pair(before.figX, before.figY));
            }
        }
        gamesEnded += static_cast<int>(h.ended.results.size());
        rowsRemoved += std::count(h.sounds.played.begin(), h.sounds.played.end(), SoundEffect::RowFlash);
    }
    // The walk reached the states that matter: removals and ends of games.
    EXPECT_GT(gamesEnded, 10);
    EXPECT_GT(rowsRemoved, 10);
}

} // namespace
} // namespace plumix
