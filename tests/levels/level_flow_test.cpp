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

TEST(LevelStart, LaysOutTheFieldSpeedQuotasAndCountdownOverAClearedHiddenSpace)
{
    LevelHarness h;
    LayOut(h.Level(3), {"#.9.....12", "7.......##"});
    h.Level(3).cells[2][19] = 200;  // no picture of its own
    h.Level(3).quotas = {1, 0, 2, 0};
    h.Level(3).speed = 250;
    h.Level(3).seconds = 40;
    h.random.PushFigure(Square);
    h.random.PushFigure(Square);
    h.flow->StartGame();
    h.game->MutableBoard().Set(4, -1, 3);  // left above the field by an earlier level
    h.game->SetLevelCounters(3, {}, std::nullopt);
    h.flow->StartLevel();

    EXPECT_EQ(h.Rows(18, 18), "8.9.....12|");
    EXPECT_EQ(h.game->GetBoard().At(2, 19), 200);
    EXPECT_EQ(h.game->GetBoard().At(4, -1), CellEmpty);
    // Painted: a brick, a 9, and for 200 a figure colour inside the palette.
    EXPECT_EQ(std::tuple(h.cells.board[180], h.cells.board[182], h.cells.board[192]),
              std::tuple(PaletteBrick, 9, (200 - 1) % 7 + 1));
    EXPECT_EQ(h.state().lines, (std::array<int, 4>{1, 0, 2, 0}));
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
    h.clock.RunUntil([&] { return h.game->Clearing(); });
    EXPECT_EQ(h.clock.Now(), 910);
    h.clock.Advance(1000 - 910);
    EXPECT_TRUE(h.game->Clearing());
    EXPECT_FALSE(h.VictoryRunning());
    h.PauseAndResume();
    h.clock.Advance(200);
    EXPECT_EQ(h.state().score, 10);
    EXPECT_EQ(h.state().lines[0], 0);
    EXPECT_TRUE(h.VictoryRunning());
    EXPECT_EQ(h.state().curFigure, VerticalBar);  // no figure placed after the removal
    h.clock.Advance(VictoryMs);
    EXPECT_EQ(h.intro.shown, 2);
    EXPECT_EQ(h.state().level, 1);
}

// Column 4 stacked to row 2: the level's first figure cannot fall.
const std::vector<std::string> BlockedEntry(BoardRows - 2, "....3.....");

TEST(LevelLoss, CostsALifeAfterTheCrashABonusRoundGivesItBackTheLastEndsWithTheLevelTable)
{
    struct Case {
        int lives;
        bool bonus;
        int livesAfter;
    };
    for (const Case c : {Case{3, false, 2}, Case{2, true, 2}, Case{1, false, 0}}) {
        LevelHarness h;
        LayOut(h.Level(5), BlockedEntry);
        h.Level(5).bonus = c.bonus ? 1 : 0;
        h.Level(5).seconds = 30;
        h.StartAt(5, Square, Square, c.lives);
        h.game->SetScore(40);
        const int shown = h.intro.shown;
        EXPECT_TRUE(h.clock.Running(TimerId::CrashAni));
        h.clock.Advance(CrashMs);
        if (c.livesAfter > 0) {
            EXPECT_EQ(std::tuple(h.intro.shown, h.state().level, h.flow->Lives()),
                      std::tuple(shown + 1, 6, c.livesAfter));
            EXPECT_TRUE(h.dialogs.messages.empty() && h.dialogs.recordEntries.empty());
        } else {
            EXPECT_EQ(h.dialogs.recordEntries, (std::vector<std::pair<int, int>>{{GameModeLevels, 1}}));
            EXPECT_EQ(h.records.level.At(1).score, 0);  // room made, filled by the entry window
        }
    }
}

TEST(LastLevel, WonOrLostItShowsTheMessageOnceThenEndsTheGame)
{
    for (const bool win : {true, false}) {
        LevelHarness h;
        if (!win) {
            LayOut(h.Level(LastLevel), BlockedEntry);
        }
        h.StartAt(LastLevel, Square, Square);
        h.clock.RunUntil([&] { return h.state().gameMode == GameModeNone; });
        const std::vector<std::string> messages{std::string(LastLevelMessage), std::string(GameOverText)};
        EXPECT_EQ(h.dialogs.messages, messages) << win;
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
