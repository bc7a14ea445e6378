#include "engine/keys.h"
#include "support/game_harness.h"

#include <gtest/gtest.h>

namespace plumix {
namespace {

using namespace testing;

TEST(Speed, LevelAndFallIntervalFollowTheScoreButNotDuringAFastDrop)
{
    GameHarness h;
    h.StartClassic(VerticalBar, Square);
    EXPECT_EQ(h.state().level, 0);
    const std::tuple<int, int, int> steps[] = {{999, 0, 1070}, {1000, 1, 970}, {5999, 5, 570},
                                               {10000, 10, 70}, {15000, 10, 70}, {995, 0, 1070}};
    for (auto [score, level, interval] : steps) {
        h.game->SetScore(score);
        EXPECT_EQ(h.state().level, level) << score;
        EXPECT_EQ(h.clock.Interval(TimerId::Figure), interval) << score;
    }
    // From 995 a fast drop, started once however often Down is pressed, crosses
    // 1000: it keeps 30 ms (17 rows, locked on the next tick); the next figure falls at 970.
    h.Press(VkDown, 2);
    EXPECT_EQ(h.sounds.played, std::vector{SoundEffect::FastDrop});
    EXPECT_EQ(h.FallUntilLocked(), 18 * 30);
    EXPECT_EQ(h.sounds.played, (std::vector{SoundEffect::FastDrop, SoundEffect::Landing}));
    EXPECT_EQ(h.state().level, 1);
    const auto placed = h.RunUntilNextFigure();
    h.clock.RunUntil([&] { return h.state().figY == 0; });
    EXPECT_EQ(h.clock.Now() - placed, 970);
}

TEST(Pause, StopsTheFallKeepsAFastDropsPaceAndDoesNothingWithoutAGame)
{
    GameHarness h;
    h.game->TogglePause();
    EXPECT_FALSE(h.state().paused);
    h.StartClassic(VerticalBar, Square);
    h.Press(VkDown);
    h.clock.Advance(60);
    h.game->TogglePause();
    h.clock.Advance(5000);
    EXPECT_EQ(h.state().figY, 1);
    h.game->TogglePause();
    h.clock.Advance(30);
    EXPECT_EQ(h.state().figY, 2);

    // Paused while a removal runs, the next figure is placed but waits.
    h.FallUntilLocked();
    h.game->PauseGame();
    h.clock.Advance(1000);
    EXPECT_TRUE(h.state().curFigure == Square && !h.clock.IsEnabled(TimerId::Figure));
    h.game->TogglePause();
    h.clock.Advance(1070);
    EXPECT_EQ(h.state().figY, 0);
}

TEST(Pause, InsideARemovalNeverMovesOrRelocksTheLockedFigure)
{
    // Paused and resumed on every removal tick (the drop's 30 ms pace is
    // shorter than a tick), a fast drop ends as it does undisturbed.
    auto play = [](bool pauseDuringRemoval) {
        GameHarness h;
        h.StartClassic(VerticalBar, Square);
        h.FillRow(19, 4);
        h.FillRow(18, 4);
        h.Press(VkDown);
        const auto locked = h.FallUntilLocked();
        if (pauseDuringRemoval) {
            h.clock.handler = [&h](TimerId id) {
                h.game->OnTimer(id);
                if (id == TimerId::Terminate) {
                    h.game->PauseGame();
                    h.game->TogglePause();
                }
            };
        }
        h.RunUntilNextFigure();
        return std::make_tuple(h.Rows(16, 19), h.state().score, h.clock.Now() - locked, h.state().figY);
    };
    EXPECT_EQ(play(true), play(false));
    EXPECT_EQ(std::get<1>(play(false)), 17 + 25);
}

TEST(NewGame, WhileOneRunsAsksNoLeavesItExactlyAsItWasAndYesStartsClean)
{
    GameHarness h;
    h.StartClassic(VerticalBar, Square);
    h.clock.Advance(1070 * 3 + 500);
    h.dialogs.holdQuestions = true;
    h.game->NewClassicGame();
    EXPECT_EQ(h.dialogs.questions.at(0), Question::NewGame);
    h.clock.Advance(10000);
    h.Press(VkLeft);
    EXPECT_EQ(std::pair(h.state().figX, h.state().figY), std::pair(3, 2));
    h.dialogs.pending(false);
    h.clock.Advance(1070);
    EXPECT_EQ(std::pair(h.state().curFigure, h.state().figY), std::pair(VerticalBar, 3));

    // Paused while it asks (another program took the focus): No leaves it paused.
    h.game->NewClassicGame();
    h.game->PauseGame();
    h.dialogs.pending(false);
    EXPECT_TRUE(h.state().paused && !h.clock.IsEnabled(TimerId::Figure));
    h.Press(VkLeft);
    h.clock.Advance(5000);
    EXPECT_EQ(std::make_pair(h.state().figX, h.state().figY), std::make_pair(3, 3));
    // Resumed while it asks: the fall waits for the answer, then goes on.
    h.game->NewClassicGame();
    h.game->TogglePause();
    h.clock.Advance(5000);
    EXPECT_EQ(h.state().figY, 3);
    h.dialogs.pending(false);
    h.clock.Advance(1070);
    EXPECT_EQ(h.state().figY, 4);

    // Yes during a removal starts clean, without the old rows scoring.
    h.FillRow(19, 4);
    h.game->SetScore(500);
    h.FallUntilLocked();
    h.clock.Advance(TerminateInterval * 2);  // row found and flashing
    h.game->NewClassicGame();
    h.dialogs.pending(true);
    h.clock.Advance(5000);
    EXPECT_EQ(std::tuple(h.state().score, h.state().lines), std::tuple(0, std::array<int, 4>{}));
}

TEST(GameOver, CrashFlickersAHundredTicksAndOnlyAnOwnWindowHoldsTheResult)
{
    GameHarness h;
    h.StartClassic(Square, Square);
    h.game->SetField(BlockedEntry());
    h.FallUntilLocked();
    const Board board = h.game->GetBoard();
    h.clock.RunUntil([&] { return h.clock.Running(TimerId::CrashAni); });
    EXPECT_TRUE(h.game->Ending());
    // Space, or another program taking the focus, holds nothing and revives no
    // figure; F1, F5 or F8 holds the end until its window closes.
    h.game->TogglePause();
    h.game->OwnWindowOpened();
    EXPECT_FALSE(h.clock.IsEnabled(TimerId::Figure));
    int ticks = 0;
    h.clock.handler = [&](TimerId id) {
        h.game->OnTimer(id);
        if (id == TimerId::CrashAni && ++ticks < 100) {
            for (int v : h.cells.board) {
                ASSERT_TRUE(v >= 1 && v <= 7);
            }
        }
    };
    h.random.Push(0.999999);  // the top of the range still gives colour 7
    h.clock.Advance(60000);
    EXPECT_EQ(ticks, 100);
    EXPECT_TRUE(h.ended.results.empty() && h.game->Ending());
    h.game->OwnWindowClosed();
    EXPECT_EQ(std::pair(h.state().gameMode, h.state().curFigure), std::pair(GameMode::None, 0));
    EXPECT_EQ(h.game->GetBoard(), board);  // only the pictures flickered
    ASSERT_EQ(h.ended.results.size(), 1u);
    const GameResult& result = h.ended.results[0];
    EXPECT_EQ(std::tuple(result.mode, result.score, result.level), std::tuple(GameMode::Classic, 0, 0));
    EXPECT_FALSE(h.state().paused || h.game->Ending());  // over, the game shows no "PAUSE"
}

} // namespace
} // namespace plumix
