#include "engine/keys.h"
#include "support/game_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace plumix {
namespace {

using testing::GameHarness;

// Walls and floor are intact and nothing was painted outside the cell model.
void ExpectSaneBoard(const GameHarness& h, int step)
{
    const Board& b = h.game->GetBoard();
    for (int r = -3; r < 23; ++r) {
        for (int c : {-3, -2, -1, 10, 11, 12}) {
            ASSERT_EQ(b.At(c, r), CellWall) << "step " << step;
        }
    }
    for (int c = -3; c < 13; ++c) {
        for (int r = 20; r < 23; ++r) {
            ASSERT_EQ(b.At(c, r), CellWall) << "step " << step;
        }
    }
    for (int c = 0; c < 10; ++c) {
        for (int r = -3; r < 20; ++r) {
            ASSERT_LE(b.At(c, r), 8) << "step " << step;
        }
    }
    ASSERT_FALSE(h.cells.outOfRange) << "step " << step;
    const GameState& s = h.state();
    if (s.figureActive) {
        ASSERT_GE(s.curFigure, 1);
        ASSERT_LE(s.curFigure, 28);
        // A falling figure never overlaps the board.
        const auto& box = h.game->Figures()[s.curFigure];
        for (int x = 0; x < 4; ++x) {
            for (int y = 0; y < 4; ++y) {
                if (box[x][y] != 0) {
                    ASSERT_EQ(b.At(s.figX + x, s.figY + y), 0) << "step " << step;
                }
            }
        }
    }
    ASSERT_GE(s.score, 0);
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
        h.settings.moveDuringFall = static_cast<std::uint8_t>(seed % 3);
        h.settings.rotateDir = static_cast<std::uint8_t>(seed % 4);
        h.dialogs.answers = {true, false, true, true, false};
        const int keys[] = {VkLeft, VkRight, VkUp, VkDown, VkSpace, 0, -1, 65535, 100000, VkF2, 13};
        for (int step = 0; step < 3000; ++step) {
            const GameState before = h.state();
            const Board boardBefore = h.game->GetBoard();
            const bool wasLocked = !before.figureActive;
            const int action = static_cast<int>(rng() % 100);
            bool figureOnly = false;
            if (action < 55) {
                h.game->KeyDown(keys[rng() % std::size(keys)]);
                figureOnly = true;
            } else if (action < 70) {
                h.clock.Advance(static_cast<int>(rng() % 2000));
            } else if (action < 85) {
                // Ticks of every timer at any moment, running or not.
                const auto id = static_cast<TimerId>(rng() % TimerCount);
                h.game->OnTimer(id);
                figureOnly = id == TimerId::Figure;
            } else if (action < 90) {
                h.game->TogglePause();
            } else if (action < 93 && (before.gameMode == GameModeNone || rng() % 8 == 0)) {
                h.game->NewClassicGame();
            } else if (action < 96) {
                h.game->MouseMovedOverBoard();
            } else {
                // Full rows and rows with a hole, below the falling figure,
                // so rows are removed and stacks grow until games end.
                const int top = std::max(5, before.figureActive ? before.figY + 4 : 5);
                if (top < BoardRows) {
                    const int row = top + static_cast<int>(rng() % static_cast<unsigned>(BoardRows - top));
                    if (rng() % 2 == 0) {
                        h.FillRow(row);
                    } else {
                        h.FillRow(row, {static_cast<int>(rng() % 10)});
                    }
                }
            }
            ExpectSaneBoard(h, step);
            if (figureOnly && wasLocked) {
                // No key moves a figure that has locked, or writes it twice.
                ASSERT_EQ(h.game->GetBoard(), boardBefore) << "seed " << seed << " step " << step;
                ASSERT_EQ(h.state().figX, before.figX);
                ASSERT_EQ(h.state().figY, before.figY);
            }
        }
        gamesEnded += static_cast<int>(h.dialogs.messages.size() + h.dialogs.recordEntries.size());
        rowsRemoved += std::count(h.sounds.played.begin(), h.sounds.played.end(), "clear");
    }
    // The walk reached the states that matter: removals and ends of games.
    EXPECT_GT(gamesEnded, 10);
    EXPECT_GT(rowsRemoved, 0);
}

} // namespace
} // namespace plumix
