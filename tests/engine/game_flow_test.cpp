#include "engine/keys.h"
#include "support/game_harness.h"

#include <gtest/gtest.h>

namespace plumix {
namespace {

using testing::GameHarness;

constexpr int VerticalBar = 5;
constexpr int Square = 1;

TEST(Speed, LevelAndFallIntervalFollowTheScoreInClassic)
{
    EXPECT_EQ(IntervalForLevel(0), 1070);
    EXPECT_EQ(IntervalForLevel(10), 70);
    GameHarness h;
    h.StartClassic(Square, Square);
    EXPECT_EQ(h.state().level, 0);
    EXPECT_EQ(h.clock.Interval(TimerId::Figure), 1070);
    const std::pair<int, int> steps[] = {{999, 0}, {1000, 1}, {5999, 5}, {10000, 10}, {15000, 10}};
    for (auto [score, level] : steps) {
        h.game->SetScore(score);
        EXPECT_EQ(h.state().level, level) << score;
        EXPECT_EQ(h.state().fallInterval, 1070 - 100 * level) << score;
        EXPECT_EQ(h.clock.Interval(TimerId::Figure), 1070 - 100 * level) << score;
    }
}

TEST(Speed, FastDropAcrossALevelStepKeepsItsPaceUntilTheNextFigure)
{
    GameHarness h;
    h.StartClassic(VerticalBar, Square);
    h.game->SetScore(995);
    h.Press(VkDown);
    h.FallUntilLocked();
    EXPECT_EQ(h.state().score, 995 + 17);
    EXPECT_EQ(h.state().level, 1);
    EXPECT_EQ(h.clock.Fired(TimerId::Figure), 18);
    EXPECT_EQ(h.clock.Now(), 18 * 30);  // never slowed down mid-drop
    h.RunUntilNextFigure();
    EXPECT_EQ(h.clock.Interval(TimerId::Figure), 970);
    const auto placed = h.clock.Now();
    h.clock.RunUntil([&] { return h.state().figY == 0; });
    EXPECT_EQ(h.clock.Now() - placed, 970);
}

TEST(Pause, StopsTheFallAndResumesAFastDropAtItsPace)
{
    GameHarness h;
    h.StartClassic(VerticalBar, Square);
    h.Press(VkDown);
    h.clock.Advance(60);
    EXPECT_EQ(h.state().figY, 1);
    h.game->TogglePause();
    EXPECT_TRUE(h.state().paused);
    h.clock.Advance(5000);
    EXPECT_EQ(h.state().figY, 1);
    h.game->TogglePause();
    EXPECT_FALSE(h.state().paused);
    EXPECT_EQ(h.clock.Interval(TimerId::Figure), 30);
    h.clock.Advance(30);
    EXPECT_EQ(h.state().figY, 2);
}

TEST(Pause, InsideARemovalNeverMovesOrRelocksTheLockedFigure)
{
    // The same fast drop, once undisturbed and once paused and resumed on
    // every tick of the removal, ends with the same board, score and timing.
    // (The fast drop's 30 ms pace is shorter than a removal tick.)
    auto play = [](bool pauseDuringRemoval) {
        auto h = std::make_unique<GameHarness>();
        h->StartClassic(VerticalBar, Square);
        h->FillRow(19, {4});
        h->FillRow(18, {4});
        h->Press(VkDown);
        h->FallUntilLocked();
        const auto locked = h->clock.Now();
        if (pauseDuringRemoval) {
            h->clock.SetHandler([g = h->game.get()](TimerId id) {
                g->OnTimer(id);
                if (id == TimerId::Terminate) {
                    g->PauseGame();
                    g->ResumeGame();
                    // Only a newly placed figure may be active, and it has not moved.
                    EXPECT_TRUE(!g->State().figureActive || g->State().figY == -1);
                }
            });
        }
        h->RunUntilNextFigure();
        return std::make_tuple(h->Rows(16, 19), h->state().score, h->clock.Now() - locked);
    };
    EXPECT_EQ(play(true), play(false));
    EXPECT_EQ(std::get<1>(play(false)), 17 + 25);
}

TEST(Pause, PausedDuringARemovalTheNextFigureWaitsForResume)
{
    GameHarness h;
    h.StartClassic(Square, VerticalBar);
    h.FallUntilLocked();
    h.game->PauseGame();
    h.clock.Advance(1000);
    EXPECT_EQ(h.state().curFigure, VerticalBar);
    EXPECT_EQ(h.state().figY, -1);
    EXPECT_FALSE(h.clock.IsEnabled(TimerId::Figure));
    h.game->ResumeGame();
    h.clock.Advance(1070);
    EXPECT_EQ(h.state().figY, 0);
}

TEST(Pause, DoesNothingWithoutAGame)
{
    GameHarness h;
    h.game->TogglePause();
    EXPECT_FALSE(h.state().paused);
    EXPECT_EQ(h.status.changes, 0);
    h.StartClassic(Square, Square);
    EXPECT_TRUE(h.state().figureActive);
    EXPECT_TRUE(h.dialogs.questions.empty());
}

TEST(NewGame, WhileOneRunsAsksAndNoLeavesItExactlyAsItWas)
{
    GameHarness h;
    h.StartClassic(VerticalBar, Square);
    h.clock.Advance(1070 * 3 + 500);
    h.game->PauseGame();
    h.dialogs.holdQuestions = true;
    h.game->NewClassicGame();
    ASSERT_EQ(h.dialogs.questions.size(), 1u);
    EXPECT_EQ(h.dialogs.questions[0], (std::pair<std::string, std::string>{"Are you sure?", "Start new game"}));
    h.dialogs.pending(false);
    EXPECT_TRUE(h.state().paused);
    EXPECT_EQ(h.state().figY, 2);
    EXPECT_EQ(h.state().curFigure, VerticalBar);

    // Unpaused, the game stands still while the question is open.
    h.game->ResumeGame();
    h.game->NewClassicGame();
    h.clock.Advance(10000);
    EXPECT_EQ(h.state().figY, 2);
    h.Press(VkLeft);
    EXPECT_EQ(h.state().figX, 3);
    h.dialogs.pending(false);
    h.clock.Advance(1070);
    EXPECT_EQ(h.state().figY, 3);
}

TEST(NewGame, YesDuringARemovalStartsCleanWithoutTheOldRowsScoring)
{
    GameHarness h;
    h.StartClassic(VerticalBar, Square);
    h.FillRow(19, {4});
    h.game->SetScore(500);
    h.FallUntilLocked();
    h.clock.Advance(TerminateInterval * 2);  // row found and flashing
    h.random.PushFigure(Square);
    h.game->NewClassicGame();
    EXPECT_EQ(h.state().score, 0);
    h.clock.Advance(5000);
    EXPECT_EQ(h.state().score, 0);
    EXPECT_EQ(h.state().lines, (std::array<int, 4>{}));
    EXPECT_EQ(h.state().level, 0);
}

std::string GameOverBanner()
{
    return std::string(9, ' ') + "G   A   M   E" + std::string(7, ' ') + "O   V   E   R" + std::string(9, ' ');
}

// Stacks a column up to row 1 so the next figure cannot fall.
void BlockTheEntry(GameHarness& h)
{
    for (int r = 2; r < BoardRows; ++r) {
        h.game->MutableBoard().Set(4, r, 3);
    }
}

TEST(GameOver, CrashFlickersAHundredTicksThenShowsTheMessage)
{
    GameHarness h;
    h.StartClassic(Square, Square);
    BlockTheEntry(h);
    h.FallUntilLocked();
    const Board board = h.game->GetBoard();
    h.clock.RunUntil([&] { return h.clock.Running(TimerId::CrashAni); });
    const auto started = h.clock.Now();
    EXPECT_FALSE(h.clock.Running(TimerId::Figure));
    int ticks = 0;
    h.clock.SetHandler([&](TimerId id) {
        h.game->OnTimer(id);
        if (id == TimerId::CrashAni && ++ticks < 100) {
            for (int v : h.cells.board) {
                EXPECT_GE(v, 1);
                EXPECT_LE(v, 7);
            }
        }
    });
    h.random.Push(0.999999);  // the top of the range still gives colour 7
    h.clock.Advance(2000);
    EXPECT_EQ(ticks, 100);
    EXPECT_EQ(h.clock.Fired(TimerId::CrashAni), 100);
    EXPECT_EQ(h.state().gameMode, GameModeNone);
    EXPECT_EQ(h.state().endedMode, GameModeClassic);
    EXPECT_EQ(h.state().curFigure, 0);
    EXPECT_EQ(h.game->GetBoard(), board);  // only the pictures flickered
    EXPECT_EQ(h.dialogs.messages, std::vector<std::string>{GameOverBanner()});
    EXPECT_TRUE(h.dialogs.recordEntries.empty());
    (void)started;

    // After the end nothing acts on the old figure and Space does nothing.
    h.Press(VkLeft);
    h.game->TogglePause();
    EXPECT_FALSE(h.state().paused);
    EXPECT_EQ(h.state().gameMode, GameModeNone);
}

TEST(GameOver, ANewFigureThatOverlapsTheStackEndsTheGameToo)
{
    GameHarness h;
    h.StartClassic(Square, Square);
    h.FallUntilLocked();
    // The next square would be placed overlapping a cell in row 0.
    h.game->MutableBoard().Set(4, 0, 7);
    h.clock.RunUntil([&] { return h.clock.Running(TimerId::CrashAni); });
    EXPECT_EQ(h.state().curFigure, Square);
    EXPECT_TRUE(h.clock.Running(TimerId::CrashAni));
    EXPECT_FALSE(h.state().figureActive);
    // Pausing and resuming during the crash does not revive the figure.
    h.game->TogglePause();
    h.game->TogglePause();
    EXPECT_FALSE(h.clock.IsEnabled(TimerId::Figure));
    h.clock.Advance(1000);
    EXPECT_EQ(h.state().gameMode, GameModeNone);
}

TEST(GameOver, RecordPlaceRanksTiesBelowAndShiftsTheTable)
{
    auto endWithScore = [](GameHarness& h, std::int64_t score) {
        h.StartClassic(Square, Square);
        BlockTheEntry(h);
        h.game->SetScore(score);
        h.FallUntilLocked();
        h.clock.Advance(2000);
    };
    {
        GameHarness h;  // an empty table: any positive score is first
        endWithScore(h, 10);
        EXPECT_EQ(h.state().recordPlace, 1);
        ASSERT_EQ(h.dialogs.recordEntries.size(), 1u);
        EXPECT_EQ(h.dialogs.recordEntries[0].place, 1);
        EXPECT_EQ(h.dialogs.recordEntries[0].mode, GameModeClassic);
    }
    {
        GameHarness h;  // score 0 against an empty table earns nothing
        endWithScore(h, 0);
        EXPECT_EQ(h.state().recordPlace, 0);
        EXPECT_EQ(h.dialogs.messages.size(), 1u);
    }
    {
        GameHarness h;
        for (int p = 1; p <= RecordPlaces; ++p) {
            h.records.classic.At(p).score = 1000 - 10 * p;  // 990 .. 0
            h.records.classic.At(p).player = "p" + std::to_string(p);
        }
        endWithScore(h, 0);  // ties place 100
        EXPECT_EQ(h.state().recordPlace, 0);

        endWithScore(h, 950);  // ties place 5, so ranks 6th
        EXPECT_EQ(h.state().recordPlace, 6);
        EXPECT_EQ(h.records.classic.At(5).player, "p5");
        EXPECT_EQ(h.records.classic.At(7).player, "p6");
        EXPECT_EQ(h.records.classic.At(100).player, "p99");
        EXPECT_TRUE(h.records.level.At(1).player.empty());
    }
}

} // namespace
} // namespace plumix
