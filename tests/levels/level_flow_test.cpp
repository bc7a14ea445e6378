#include "engine/keys.h"
#include "levels/level_intro.h"
#include "support/level_harness.h"

#include <gtest/gtest.h>

namespace plumix {
namespace {

using namespace testing;

constexpr int VictoryMs = VictoryRows * VictoryInterval;
constexpr int CrashMs = CrashTicks * CrashAniInterval;

// A level without a task is won at its first lock, and the bricks begin to fill the board.
void WinAtFirstLock(LevelHarness& h)
{
    h.Press(VkDown);
    h.FallUntilLocked();
    h.clock.RunUntil([&] { return h.VictoryRunning(); });
}

// Its entry stacked up, a level is lost as soon as it starts.
void LoseAtOnce(LevelHarness& h, int level)
{
    h.Level(level).cells = BlockedEntry();
}

TEST(Quotas, ARemovalPaysTheLargestOpenQuotaThatFitsFirst)
{
    // Open quotas, rows removed, quotas left.
    const std::tuple<std::array<int, 4>, int, std::array<int, 4>> cases[] = {
        {{2, 0, 1, 0}, 4, {1, 0, 0, 0}},  // a triple, then one single
        {{5, 0, 0, 0}, 4, {1, 0, 0, 0}},  // four singles
        {{0, 0, 0, 1}, 3, {0, 0, 0, 1}},  // fits nothing: lost
        {{0, 1, 0, 0}, 4, {0, 0, 0, 0}},  // a double, two rows lost; never below 0
    };
    for (auto [open, rows, left] : cases) {
        PayQuotas(open, rows);
        EXPECT_EQ(open, left) << rows;
    }
}

TEST(Quotas, MoreThanFourRowsAtOnceScoreNothingButPayTheQuotasWithEveryRow)
{
    LevelHarness h;
    LayOut(h.Level(0), std::vector<std::string>(5, "4444444444"));
    h.Level(0).quotas = {0, 1, 1, 0};  // a triple and a double: five rows
    h.StartAt(0, Square, Square);
    h.FallUntilLocked();
    h.clock.RunUntil([&] { return h.state().phase != Phase::Clearing; });
    EXPECT_EQ(std::tuple(h.state().rowsCleared, h.state().score), std::tuple(5, 0));
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
    // Level 2's first figure, moved left onto a stack, locks above the field.
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
    EXPECT_EQ(std::tuple(h.game->GetBoard().At(2, 19), h.game->GetBoard().At(3, -1)), std::tuple(200, 0));
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
    h.Level(1).seconds = 5;
    h.Level(2).seconds = 5;
    h.StartAt(0, Square, Square);
    WinAtFirstLock(h);
    h.clock.Advance(VictoryInterval);
    for (int c = 0; c < BoardColumns; ++c) {
        EXPECT_EQ(h.cells.board[static_cast<std::size_t>(c)], PaletteBrick);
    }
    // A pause (Space, or another program took the focus) holds neither the
    // bricks nor the next level, and revives no figure.
    h.game->PauseGame();
    EXPECT_FALSE(h.clock.IsEnabled(TimerId::Figure));
    h.clock.Advance(VictoryMs - 2 * VictoryInterval);
    EXPECT_EQ(h.intro.shown, 1);
    h.clock.Advance(VictoryInterval);
    EXPECT_EQ(std::tuple(h.intro.shown, *h.state().level, h.flow->Lives()), std::tuple(2, 1, 3));
    EXPECT_TRUE(h.state().introShowing);
    for (int v : h.cells.board) {
        ASSERT_EQ(v, PaletteBrick);
    }
    h.game->TogglePause();
    EXPECT_FALSE(h.clock.IsEnabled(TimerId::Figure));
    // Paused again while the window waits, the level starts all the same, its
    // countdown from its first second.
    h.game->PauseGame();
    h.flow->StartLevel();
    EXPECT_FALSE(h.state().introShowing || h.state().paused);
    const int figY = h.state().figY;
    h.clock.Advance(999);
    EXPECT_EQ(h.state().limit, 5);
    h.clock.Advance(1);
    EXPECT_EQ(h.state().limit, 4);
    h.clock.Advance(IntervalForLevel(0));
    EXPECT_GT(h.state().figY, figY);

    // An own window (F1, F5 or F8) holds the next level, and a level started
    // behind one waits for Space.
    h.clock.RunUntil([&] { return h.VictoryRunning(); });
    h.game->OwnWindowOpened();
    h.clock.Advance(60000);
    EXPECT_EQ(h.intro.shown, 2);
    for (int i = 0; i < TimerCount; ++i) {
        EXPECT_FALSE(h.clock.Running(static_cast<TimerId>(i))) << i;
    }
    h.game->OwnWindowClosed();
    EXPECT_EQ(std::tuple(h.intro.shown, *h.state().level), std::tuple(3, 2));
    h.game->OwnWindowOpened();
    h.flow->StartLevel();
    h.clock.Advance(10000);
    EXPECT_EQ(std::tuple(h.state().paused, h.state().figY, *h.state().limit), std::tuple(true, SpawnY, 5));
    h.game->OwnWindowClosed();
    h.game->TogglePause();
    h.clock.Advance(1000);
    EXPECT_EQ(h.state().limit, 4);
}

TEST(LevelWin, BricksAreWonAtTheRemovalOfTheLastBrickRowAndOnlyThen)
{
    for (const bool strayBrick : {false, true}) {
        LevelHarness h;
        LayOut(h.Level(0), {strayBrick ? "#........." : "..........", "####.#####"});
        h.StartAt(0, VerticalBar, Square);
        h.Press(VkDown);
        h.FallUntilLocked();
        h.clock.Advance(TerminateInterval * 5);
        EXPECT_EQ(h.VictoryRunning() || h.intro.shown == 2, !strayBrick);
        EXPECT_EQ(h.state().score, 17 + 10);
    }
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
    h.clock.RunUntil([&] { return h.state().phase == Phase::Clearing; });
    EXPECT_EQ(h.clock.Now(), 910);
    h.clock.Advance(1000 - 910);
    EXPECT_EQ(std::pair(h.state().phase, h.VictoryRunning()), std::pair(Phase::Clearing, false));
    h.PauseAndResume();
    h.clock.Advance(200);
    EXPECT_EQ(std::pair(h.state().score, h.state().openQuotas[0]), std::pair(std::int64_t{10}, 0));
    EXPECT_TRUE(h.VictoryRunning());
    EXPECT_EQ(h.state().curFigure, VerticalBar);  // no figure placed after the removal
    h.clock.Advance(VictoryMs);
    EXPECT_EQ(std::pair(h.intro.shown, *h.state().level), std::pair(2, 1));
}

TEST(LevelLoss, CostsALifeAfterTheCrashABonusRoundGivesItBackTheLastEndsTheGame)
{
    // Lives, the bonus byte (any value announces a bonus round, so any gives
    // the life), lives after.
    for (const auto& [lives, bonus, livesAfter] : {std::tuple(3, 0, 2), std::tuple(2, 2, 2), std::tuple(1, 0, 0)}) {
        LevelHarness h;
        LoseAtOnce(h, 5);
        h.Level(5).bonus = static_cast<std::uint8_t>(bonus);
        h.Level(5).seconds = 30;
        h.StartAt(5, Square, Square, lives);
        h.game->SetScore(40);
        const int shown = h.intro.shown;
        EXPECT_TRUE(h.clock.Running(TimerId::CrashAni));
        EXPECT_FALSE(h.state().limit || h.clock.Running(TimerId::GameOnTime));  // the crash ends the countdown
        h.clock.Advance(CrashMs);
        if (livesAfter > 0) {
            EXPECT_EQ(std::tuple(h.intro.shown, *h.state().level, h.flow->Lives()), std::tuple(shown + 1, 6, livesAfter));
            EXPECT_TRUE(h.dialogs.messages.empty() && h.ended.results.empty());
        } else {
            ASSERT_EQ(h.ended.results.size(), 1u);
            const GameResult& result = h.ended.results[0];
            EXPECT_EQ(std::tuple(result.mode, result.score, result.level), std::tuple(GameMode::Levels, 40, 5));
        }
    }
}

TEST(LastLevel, WonOrLostItShowsTheMessageOnceThenEndsTheGame)
{
    for (const bool win : {true, false}) {
        LevelHarness h;
        if (!win) {
            LoseAtOnce(h, LastLevel);
        }
        h.StartAt(LastLevel, Square, Square);
        h.clock.RunUntil([&] { return h.state().gameMode == GameMode::None; });
        EXPECT_EQ(h.dialogs.messages, std::vector<std::string>{std::string(LastLevelMessage)}) << win;
        EXPECT_EQ(std::pair(h.ended.results.size(), h.intro.shown), std::pair(std::size_t{1}, 1)) << win;
    }
}

TEST(NewLevelGame, StartsAtLevelZeroWithThreeLivesAndAsksWhileAGameRunsAndYesStartsAFreshCountdown)
{
    LevelHarness h;
    h.intro.autoStart = true;
    h.Level(0).seconds = 30;
    h.random.PushFigure(Square);
    h.random.PushFigure(VerticalBar);
    h.flow->NewGame();
    EXPECT_TRUE(h.dialogs.questions.empty());
    EXPECT_EQ(std::pair(*h.state().level, h.flow->Lives()), std::pair(0, 3));
    h.game->SetScore(77);
    h.clock.Advance(1300);
    h.dialogs.answers.push_back(false);
    h.flow->NewGame();
    EXPECT_EQ(std::tuple(h.dialogs.questions.size(), h.state().score, *h.state().limit), std::tuple(std::size_t{1}, 77, 29));
    h.flow->NewGame();  // Yes, at no whole second of the old countdown
    EXPECT_EQ(std::tuple(h.state().score, h.intro.shown), std::tuple(0, 2));
    EXPECT_EQ(h.state().curFigure, VerticalBar);  // the preview of the last game comes first
    h.clock.Advance(999);
    EXPECT_EQ(h.state().limit, 30);
    h.clock.Advance(1);
    EXPECT_EQ(h.state().limit, 29);
}

TEST(LevelIntro, ListsLivesAndOnlyTheLevelsOwnTasksInOrder)
{
    TextTable texts{};
    FillDefaultTexts(texts);
    const LevelIntroTexts plain = ComposeLevelIntro(texts, 0, 3, LevelDef{});
    EXPECT_EQ(std::tuple(plain.title, plain.body, plain.prompt),
              std::tuple("Level: 0", "Lives: 3\nTask:", "Press any key to start"));
    LevelDef all{.quotas = {0, 0, 0, 1}, .seconds = 30, .bonus = 2};
    all.cells[5][19] = CellBrick;
    EXPECT_EQ(ComposeLevelIntro(texts, 42, 1, all).body,
              "Lives: 1\nTask:\n     Destroy all bricks\n     Fulfill your quota\n     Survive 30 seconds\nBonus round");
}

} // namespace
} // namespace plumix
