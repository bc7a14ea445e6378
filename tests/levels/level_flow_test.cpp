#include "engine/keys.h"
#include "levels/level_intro.h"
#include "support/level_harness.h"

#include <gtest/gtest.h>

namespace plumix {
namespace {

using namespace testing;

constexpr int VictoryMs = VictoryRows * VictoryInterval;
constexpr int CrashMs = CrashTicks * CrashAniInterval;

TEST(Quotas, ARemovalPaysTheLargestOpenQuotaThatFitsFirst)
{
    struct Case {
        std::array<int, 4> open;
        int rows;
        std::array<int, 4> left;
    };
    const Case cases[] = {
        {{2, 0, 1, 0}, 4, {1, 0, 0, 0}},  // a triple, then one single
        {{5, 0, 0, 0}, 4, {1, 0, 0, 0}},  // four singles
        {{0, 0, 0, 1}, 3, {0, 0, 0, 1}},  // fits nothing: lost
        {{0, 1, 0, 0}, 4, {0, 0, 0, 0}},  // a double, two rows lost
        {{0, 0, 0, 0}, 4, {0, 0, 0, 0}},  // never below 0
        {{1, 1, 1, 1}, 0, {1, 1, 1, 1}},
    };
    for (const Case& c : cases) {
        std::array<int, 4> open = c.open;
        PayQuotas(open, c.rows);
        EXPECT_EQ(open, c.left) << c.rows;
    }
}

TEST(Quotas, MoreThanFourRowsAtOnceScoreNothingButPayTheQuotasWithEveryRow)
{
    LevelHarness h;
    LayOut(h.Level(0), {"4444444444", "4444444444", "4444444444", "4444444444", "4444444444"});
    h.Level(0).quotas = {0, 1, 1, 0};  // a triple and a double: five rows
    h.StartAt(0, Square, Square);
    h.FallUntilLocked();
    h.clock.RunUntil([&] { return !(h.state().phase == Phase::Clearing); });
    EXPECT_EQ(h.state().rowsCleared, 5);
    EXPECT_EQ(h.state().score, 0);
    EXPECT_EQ(h.state().openQuotas, (std::array<int, 4>{}));
    EXPECT_TRUE(h.VictoryRunning());
}

TEST(LevelStart, LaysOutTheFieldSpeedQuotasAndCountdownOverAClearedHiddenSpace)
{
    LevelHarness h;
    LayOut(h.Level(3), {"#.9.....12", "7.......##"});
    // No picture of their own: 10 is the grid (an empty cell to the eye), 11 none.
    h.Level(3).cells[2][19] = 200;
    h.Level(3).cells[3][19] = 10;
    h.Level(3).cells[5][19] = 11;
    h.Level(3).quotas = {1, 0, 2, 0};
    h.Level(3).speed = 250;
    h.Level(3).seconds = 40;
    // Level 2 is lost at its second figure; its first, moved left onto a
    // stack, locks above the field.
    for (std::size_t r = 1; r < BoardRows; ++r) {
        h.Level(2).cells[5][r] = 3;
        h.Level(2).cells[3][r] = r >= 3 ? 3 : 0;
    }
    h.Level(2).quotas = {1, 0, 0, 0};
    h.StartAt(2, VerticalBar, Square);
    h.Press(VkLeft);
    h.clock.RunUntil([&] { return h.clock.Running(TimerId::CrashAni); });
    ASSERT_NE(h.game->GetBoard().At(3, -1), CellEmpty);
    h.clock.RunUntil([&] { return h.intro.shown == 2; });
    h.flow->StartLevel();

    EXPECT_EQ(h.Rows(18, 18), "8.9.....12|");
    EXPECT_EQ(h.game->GetBoard().At(2, 19), 200);
    EXPECT_EQ(h.game->GetBoard().At(3, -1), CellEmpty);
    EXPECT_TRUE(h.state().FigureActive());
    // Painted: a brick, a 9, and for 200, 10 and 11 a figure colour each.
    EXPECT_EQ(std::tuple(h.cells.board[180], h.cells.board[182], h.cells.board[192], h.cells.board[193],
                         h.cells.board[195]),
              std::tuple(PaletteBrick, 9, 4, 3, 4));
    EXPECT_EQ(h.state().openQuotas, (std::array<int, 4>{1, 0, 2, 0}));
    EXPECT_EQ(h.state().limit, 40);
    EXPECT_EQ(h.clock.Interval(TimerId::Figure), 70);  // speeds past 10 fall at 10's pace
}

TEST(LevelWin, NoTaskIsWonAtTheFirstLockThenBricksFillTheBoardAndTheNextLevelShows)
{
    LevelHarness h;
    h.StartAt(0, Square, Square);
    h.Press(VkDown);
    h.FallUntilLocked();
    h.clock.RunUntil([&] { return h.VictoryRunning(); });
    h.clock.Advance(VictoryInterval);
    for (int c = 0; c < BoardColumns; ++c) {
        EXPECT_EQ(h.cells.board[static_cast<std::size_t>(c)], PaletteBrick);
    }
    h.PauseAndResume();  // does not revive the figure
    EXPECT_FALSE(h.clock.IsEnabled(TimerId::Figure));
    h.clock.Advance(VictoryMs - 2 * VictoryInterval);
    EXPECT_EQ(h.intro.shown, 1);
    h.clock.Advance(VictoryInterval);
    EXPECT_EQ(h.intro.shown, 2);
    EXPECT_EQ(h.state().level, 1);
    EXPECT_EQ(h.flow->Lives(), 3);
    // The intro hides the counters, and the board sits under bricks.
    EXPECT_TRUE(h.state().introShowing);
    for (int v : h.cells.board) {
        ASSERT_EQ(v, PaletteBrick);
    }
    // A pause while the intro waits starts nothing; dismissing it starts level 1.
    h.PauseAndResume();
    EXPECT_FALSE(h.clock.IsEnabled(TimerId::Figure));
    h.flow->StartLevel();
    EXPECT_FALSE(h.state().introShowing);
    EXPECT_TRUE(h.clock.Running(TimerId::Figure));
}

TEST(LevelWin, BricksAreWonAtTheRemovalOfTheLastBrickRowAndOnlyThen)
{
    auto play = [](bool strayBrick) {
        LevelHarness h;
        LayOut(h.Level(0), {strayBrick ? "#........." : "..........", "####.#####"});
        h.StartAt(0, VerticalBar, Square);
        h.Press(VkDown);
        h.FallUntilLocked();
        h.clock.Advance(TerminateInterval * 5);
        return std::make_pair(h.VictoryRunning() || h.intro.shown == 2, h.state().score);
    };
    EXPECT_EQ(play(false), std::make_pair(true, std::int64_t{17 + 10}));
    EXPECT_EQ(play(true), std::make_pair(false, std::int64_t{17 + 10}));
}

TEST(LevelWin, SurvivalIsWonExactlyWhenTheTimeRunsOutAndFreezesTheFigure)
{
    LevelHarness h;
    h.Level(0).seconds = 3;
    h.Level(0).quotas = {4, 0, 0, 0};  // unmet quotas do not keep a survivor back
    h.StartAt(0, Square, Square);
    h.clock.Advance(2999);
    EXPECT_EQ(h.state().limit, 1);
    EXPECT_FALSE(h.VictoryRunning());
    h.clock.Advance(1);
    EXPECT_FALSE(h.state().limit);
    EXPECT_TRUE(h.VictoryRunning());
    const int figY = h.state().figY;
    h.PauseAndResume();
    EXPECT_FALSE(h.clock.IsEnabled(TimerId::Figure));
    h.clock.Advance(VictoryMs);
    EXPECT_EQ(h.state().figY, figY);
    EXPECT_EQ(h.intro.shown, 2);
}

TEST(LevelWin, TimeRunningOutDuringARemovalLetsItScoreThenEndsWithoutANewFigure)
{
    LevelHarness h;
    // The bar locks at 910 ms; the countdown ends at 1000 ms, mid-removal.
    LayOut(h.Level(0), {"####.#####", "....1.....", "..........", "..........", "..........", ".........."});
    h.Level(0).speed = 10;
    h.Level(0).seconds = 1;
    h.Level(0).quotas = {1, 0, 0, 0};
    h.StartAt(0, VerticalBar, Square);
    h.clock.RunUntil([&] { return (h.state().phase == Phase::Clearing); });
    EXPECT_EQ(h.clock.Now(), 910);
    h.clock.Advance(1000 - 910);
    EXPECT_TRUE((h.state().phase == Phase::Clearing));
    EXPECT_FALSE(h.VictoryRunning());
    h.PauseAndResume();
    h.clock.Advance(200);
    EXPECT_EQ(h.state().score, 10);
    EXPECT_EQ(h.state().openQuotas[0], 0);
    EXPECT_TRUE(h.VictoryRunning());
    EXPECT_EQ(h.state().curFigure, VerticalBar);  // no figure placed after the removal
    h.clock.Advance(VictoryMs);
    EXPECT_EQ(h.intro.shown, 2);
    EXPECT_EQ(h.state().level, 1);
}

TEST(LevelLoss, CostsALifeAfterTheCrashABonusRoundGivesItBackTheLastEndsTheGame)
{
    struct Case {
        int lives;
        std::uint8_t bonus;  // announced as a bonus round whatever its value, so it gives the life
        int livesAfter;
    };
    for (const Case c : {Case{3, 0, 2}, Case{2, 2, 2}, Case{1, 0, 0}}) {
        LevelHarness h;
        h.Level(5).cells = BlockedEntry();
        h.Level(5).bonus = c.bonus;
        h.Level(5).seconds = 30;
        h.StartAt(5, Square, Square, c.lives);
        h.game->SetScore(40);
        const int shown = h.intro.shown;
        EXPECT_TRUE(h.clock.Running(TimerId::CrashAni));
        EXPECT_FALSE(h.state().limit || h.clock.Running(TimerId::GameOnTime));  // the crash ends the countdown
        h.clock.Advance(CrashMs);
        if (c.livesAfter > 0) {
            EXPECT_EQ(std::tuple(h.intro.shown, h.state().level, h.flow->Lives()),
                      std::tuple(shown + 1, 6, c.livesAfter));
            EXPECT_TRUE(h.dialogs.messages.empty() && h.ended.results.empty());
        } else {
            ASSERT_EQ(h.ended.results.size(), 1u);
            const GameResult& result = h.ended.results[0];
            EXPECT_EQ(std::tuple(result.mode, result.score, result.level), std::tuple(GameMode::Levels, 40, 5));
        }
    }
}

TEST(LevelPause, OnlyAnOwnWindowHoldsTheNextLevelAndALevelStartsRunningUnlessOneIsOpen)
{
    for (const bool lost : {false, true}) {
        for (const bool ownWindow : {false, true}) {
            const std::string at = std::string(lost ? "lost" : "won") + (ownWindow ? ", own window" : ", paused");
            LevelHarness h;
            if (lost) {
                h.Level(0).cells = BlockedEntry();
            }
            h.Level(1).seconds = 5;
            h.StartAt(0, Square, Square);
            if (!lost) {
                h.Press(VkDown);
                h.FallUntilLocked();
                h.clock.RunUntil([&] { return h.VictoryRunning(); });
            }
            h.clock.Advance(3 * VictoryInterval);
            if (ownWindow) {
                h.game->OwnWindowOpened();
            } else {
                h.game->PauseGame();
            }
            h.clock.Advance(60000);
            EXPECT_EQ(h.intro.shown, ownWindow ? 1 : 2) << at;
            for (int i = 0; ownWindow && i < TimerCount; ++i) {
                EXPECT_FALSE(h.clock.Running(static_cast<TimerId>(i))) << at << i;
            }
            if (ownWindow) {
                h.game->OwnWindowClosed();  // the next level's window comes up
            }
            EXPECT_EQ(std::tuple(h.intro.shown, *h.state().level, h.flow->Lives()), std::tuple(2, 1, lost ? 2 : 3))
                << at;

            // Another program took the focus while the level's window waited:
            // the level starts all the same, its countdown from its first second.
            h.game->PauseGame();
            h.flow->StartLevel();
            EXPECT_FALSE(h.state().paused) << at;
            const int figY = h.state().figY;
            h.clock.Advance(999);
            EXPECT_EQ(h.state().limit, 5) << at;
            h.clock.Advance(1);
            EXPECT_EQ(h.state().limit, 4) << at;
            h.clock.Advance(IntervalForLevel(0));
            EXPECT_GT(h.state().figY, figY) << at;
        }
    }
    // Dismissed behind one of the game's own windows, a level waits for Space.
    LevelHarness h;
    h.Level(0).seconds = 5;
    h.random.PushFigure(Square);
    h.random.PushFigure(Square);
    h.flow->StartGame();
    h.game->OwnWindowOpened();
    h.flow->StartLevel();
    h.clock.Advance(10000);
    EXPECT_EQ(std::tuple(h.state().paused, h.state().figY, *h.state().limit), std::tuple(true, SpawnY, 5));
    h.game->OwnWindowClosed();
    h.game->TogglePause();
    h.clock.Advance(1000);
    EXPECT_EQ(h.state().limit, 4);
}

TEST(Countdown, StopsWhereALevelEndsOrAGameIsResetSoATimedLevelsFirstSecondIsWhole)
{
    // Each way out of a running countdown, then the next timed level started
    // at a moment that is no whole number of seconds after the last one.
    const std::function<void(LevelHarness&)> endings[] = {
        [](LevelHarness& h) { h.clock.RunUntil([&] { return h.intro.shown == 2; }); },  // lost in a crash
        [](LevelHarness& h) { h.flow->NewGame(); },                                      // F3, Yes
        [](LevelHarness& h) {                                                            // F2, Yes, F3
            h.game->NewClassicGame();
            EXPECT_FALSE(h.clock.Running(TimerId::GameOnTime));
            h.clock.Advance(10);
            h.flow->StartGame();
        },
    };
    for (std::size_t i = 0; i < std::size(endings); ++i) {
        LevelHarness h;
        // Level 0: column 4 stacked to row 6, so the bar locks on top and the
        // next figure cannot fall.
        LayOut(h.Level(0), std::vector<std::string>(BoardRows - 6, "....3....."));
        h.Level(0).seconds = 30;
        h.Level(1).seconds = 5;
        h.StartAt(0, VerticalBar, VerticalBar);
        h.clock.Advance(1300);
        EXPECT_EQ(h.state().limit, 29) << i;
        endings[i](h);
        EXPECT_FALSE(h.clock.Running(TimerId::GameOnTime)) << i;
        h.clock.Advance(350);
        h.flow->StartLevel();
        ASSERT_TRUE(h.state().limit) << i;
        const int seconds = *h.state().limit;
        h.clock.Advance(999);
        EXPECT_EQ(h.state().limit, seconds) << i;
        h.clock.Advance(1);
        EXPECT_EQ(h.state().limit, seconds - 1) << i;
    }
}

TEST(LastLevel, WonOrLostItShowsTheMessageOnceThenEndsTheGame)
{
    for (const bool win : {true, false}) {
        LevelHarness h;
        if (!win) {
            h.Level(LastLevel).cells = BlockedEntry();
        }
        h.StartAt(LastLevel, Square, Square);
        h.clock.RunUntil([&] { return h.state().gameMode == GameMode::None; });
        EXPECT_EQ(h.dialogs.messages, std::vector<std::string>{std::string(LastLevelMessage)}) << win;
        EXPECT_EQ(h.ended.results.size(), 1u) << win;
        EXPECT_EQ(h.intro.shown, 1) << win;
    }
}

TEST(NewLevelGame, StartsAtLevelZeroWithThreeLivesAndAsksWhileAGameRuns)
{
    LevelHarness h;
    h.intro.autoStart = true;
    h.random.PushFigure(Square);
    h.random.PushFigure(VerticalBar);
    h.flow->NewGame();
    EXPECT_TRUE(h.dialogs.questions.empty());
    EXPECT_EQ(std::pair(*h.state().level, h.flow->Lives()), std::pair(0, 3));
    h.game->SetScore(77);
    h.dialogs.answers.push_back(false);
    h.flow->NewGame();
    EXPECT_EQ(h.dialogs.questions.size(), 1u);
    EXPECT_EQ(h.state().score, 77);
    h.flow->NewGame();  // Yes
    EXPECT_EQ(h.state().score, 0);
    EXPECT_EQ(h.intro.shown, 2);
    EXPECT_EQ(h.state().curFigure, VerticalBar);  // the preview of the last game comes first
}

TEST(LevelIntro, ListsLivesAndOnlyTheLevelsOwnTasksInOrder)
{
    TextTable texts{};
    FillDefaultTexts(texts);
    LevelDef none;
    const LevelIntroTexts plain = ComposeLevelIntro(texts, 0, 3, none);
    EXPECT_EQ(std::tuple(plain.title, plain.body, plain.prompt),
              std::tuple("Level: 0", "Lives: 3\nTask:", "Press any key to start"));

    LevelDef all;
    all.cells[5][19] = CellBrick;
    all.quotas[3] = 1;
    all.seconds = 30;
    all.bonus = 2;
    EXPECT_EQ(ComposeLevelIntro(texts, 42, 1, all).body,
              "Lives: 1\nTask:\n     Destroy all bricks\n     Fulfill your quota\n     Survive 30 seconds\nBonus round");
}

} // namespace
} // namespace plumix
