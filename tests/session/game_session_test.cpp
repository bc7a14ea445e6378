// The session without its windows: the key table and the menu commands, the
// end of a game in its own mode's table, and the files written at the end.
#include "engine/keys.h"
#include "scores/records_file.h"
#include "session/game_session.h"
#include "support/game_harness.h"
#include "support/record_tables.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace plumix {
namespace {

using namespace testing;

struct ViewRecorder : SessionViews {
    void ShowLevelIntro() override { shown.push_back("intro"); }
    void ShowRecordEntry(int place) override { shown.push_back("entry " + std::to_string(place)); }
    void ShowHiScores() override { shown.push_back("hi-scores"); }
    void ShowSettings() override { shown.push_back("settings"); }
    void ShowAbout() override { shown.push_back("about"); }
    void BringForward() override { ++forward; }
    void EndProgram() override { ++ended; }
    std::vector<std::string> shown;
    int forward = 0;
    int ended = 0;
};

struct Session : FakePorts {
    ScratchFolder folder;
    AppState app;
    ViewRecorder views;
    std::unique_ptr<GameSession> session;

    Session()
    {
        FillDefaultTexts(app.texts);
        app.folders = {folder.Path(), {folder.Path()}, false};
        session = std::make_unique<GameSession>(
            app, GameSession::Ports{{clock, random, cells, sounds, status, dialogs}, views});
        clock.handler = [this](TimerId id) { session->OnTimer(id); };
    }
    const GameState& State() const { return session->GetGame().State(); }
};

TEST(Session, EveryKeyOfTheTableGivesItsCommandAndTheGamesOwnWindowsOpenOverAPausedGame)
{
    Session s;
    EXPECT_EQ(CommandForKey(VkF4, ShiftMaskAlt), Command::Quit);
    EXPECT_EQ(CommandForKey(VkF4, ShiftMaskAlt | ShiftMaskShift), std::nullopt);
    EXPECT_EQ(CommandForKey('A', 0), std::nullopt);

    s.random.PushFigure(VerticalBar);
    s.session->KeyDown(VkF2, 0);
    EXPECT_EQ(s.State().gameMode, GameMode::Classic);
    s.session->KeyDown(VkLeft, 0);
    EXPECT_EQ(s.State().figX, SpawnX - 1);  // the game's own keys go through
    for (const int key : {VkF5, VkF8, VkF1}) {
        if (s.State().paused) {
            s.session->KeyDown(VkSpace, 0);  // running again
        }
        ASSERT_FALSE(s.State().paused);
        s.session->KeyDown(key, ShiftMaskShift);  // Shift is no matter
        EXPECT_TRUE(s.State().paused) << key;
    }
    EXPECT_EQ(s.views.shown, (std::vector<std::string>{"hi-scores", "settings", "about"}));
    EXPECT_EQ(s.views.forward, 6);
    // Closing the window leaves a game paused, and a question holds it.
    s.session->OwnWindowClosed();
    EXPECT_TRUE(s.State().paused);
    s.dialogs.answers = {false, false};
    s.session->KeyDown(VkF3, 0);
    s.session->KeyDown(VkEscape, 0);
    EXPECT_EQ(s.dialogs.questions, (std::vector{Question::NewGame, Question::Quit}));
    EXPECT_EQ(std::pair(s.State().gameMode, s.views.ended), std::pair(GameMode::Classic, 0));
}

TEST(Session, AnEndedGameRanksInItsOwnModesTableItsEntryIsWrittenAtOnceAndOnlyARunningGameIsAskedAbout)
{
    Session s;
    s.app.records = FilledTables();
    for (LevelDef& level : s.app.levels) {
        level.cells = BlockedEntry();  // each level costs a life at once
    }
    s.session->Run(Command::NewLevelGame);
    // A crash that costs a life leaves the game running: F2 asks, No goes on;
    // the crash of the last life ends it, and F2 waits for its end.
    s.dialogs.answers = {false, false};
    for (int life = 0; life < StartingLives; ++life) {
        ASSERT_EQ(s.views.shown.back(), "intro");
        s.session->Levels().StartLevel();
        s.session->GetGame().SetScore(40);
        ASSERT_TRUE(s.clock.Running(TimerId::CrashAni));
        s.session->KeyDown(VkF2, 0);
        s.clock.RunUntil([&] { return s.State().introShowing || s.State().gameMode == GameMode::None; });
    }
    EXPECT_EQ(s.dialogs.questions, std::vector(StartingLives - 1, Question::NewGame));
    // 40 ties place 61 of the level table; in the Classic one it would rank 98th.
    ASSERT_EQ(s.views.shown.back(), "entry 62");
    s.session->RecordEntered({"Lena", "three lives", "today"});
    EXPECT_EQ(s.views.shown.back(), "hi-scores");
    RecordTables onDisk;
    ASSERT_TRUE(LoadRecords(s.folder / "Records", onDisk).ok);
    EXPECT_EQ(std::tuple(onDisk.level.At(62).player, onDisk.level.At(62).score, onDisk.level.At(62).level),
              std::tuple("Lena", 40, 2));

    // A Classic game that earns no place: the game-over message.
    s.random.PushFigure(Square);
    s.session->Run(Command::NewClassicGame);
    s.session->GetGame().SetField(BlockedEntry());
    s.clock.RunUntil([&] { return s.State().gameMode == GameMode::None; });
    EXPECT_EQ(s.dialogs.messages, std::vector<std::string>{std::string(GameOverText)});
}

TEST(Session, NoKeyDropsAGameWhoseCrashHasBegun)
{
    for (const bool systemEnds : {false, true}) {
        Session s;
        s.random.PushFigure(Square);
        s.session->Run(Command::NewClassicGame);
        s.session->GetGame().SetScore(50);
        s.session->GetGame().SetField(BlockedEntry());
        s.clock.RunUntil([&] { return s.clock.Running(TimerId::CrashAni); });
        if (systemEnds) {
            s.session->FinishEndingGame();  // a signal mid-crash: the entry first
            EXPECT_EQ(s.views.shown, std::vector<std::string>{"entry 1"});
            continue;
        }
        for (const int key : {VkF2, VkF3, VkEscape, VkSpace}) {
            s.session->KeyDown(key, 0);
        }
        s.clock.Advance(CrashTicks * CrashAniInterval);
        EXPECT_TRUE(s.dialogs.questions.empty());
        EXPECT_EQ(s.views.ended, 0);
        EXPECT_EQ(s.views.shown, std::vector<std::string>{"entry 1"});
        s.session->RecordEntered({"Ann", "", ""});
        EXPECT_EQ(s.app.records.classic.At(1).score, 50);
        s.session->KeyDown(VkF2, 0);  // over: a new game without a question
        EXPECT_TRUE(s.dialogs.questions.empty());
        EXPECT_EQ(std::pair(s.State().gameMode, s.State().score), std::pair(GameMode::Classic, std::int64_t{0}));
    }
}

TEST(Session, QuitWritesBothFilesAndAFailedSaveIsToldAtTheEntryAndAtTheEndOrLoggedWhenNobodyIsAsked)
{
    {
        Session s;  // no game: no question
        s.session->KeyDown(VkF4, ShiftMaskAlt);
        EXPECT_TRUE(s.dialogs.questions.empty());
        EXPECT_EQ(s.views.ended, 1);
        EXPECT_EQ(std::filesystem::file_size(s.folder / "Records"), 5200u);
        EXPECT_TRUE(std::filesystem::exists(s.folder / "plumix.ini"));
        // Once ending, nothing of the game runs and no key does anything.
        s.session->KeyDown(VkF2, 0);
        EXPECT_EQ(s.State().gameMode, GameMode::None);
    }
    const std::string failed = "!" + std::string(RecordsSaveFailedMessage);
    for (const bool asked : {true, false}) {
        Session s;
        std::filesystem::create_directory(s.folder / "Records");  // cannot be replaced by a file
        // An entered record that cannot be written is told at once, while there is someone to tell.
        s.random.PushFigure(Square);
        s.session->Run(Command::NewClassicGame);
        s.session->GetGame().SetScore(50);
        s.session->GetGame().SetField(BlockedEntry());
        s.clock.RunUntil([&] { return !s.views.shown.empty(); });
        s.session->RecordEntered({"Ann", "", ""});
        EXPECT_EQ(s.dialogs.messages, std::vector{failed});
        EXPECT_EQ(s.views.shown, (std::vector<std::string>{"entry 1", "hi-scores"}));
        s.dialogs.messages.clear();

        s.random.PushFigure(Square);
        s.session->Run(Command::NewClassicGame);
        ::testing::internal::CaptureStderr();
        if (asked) {
            s.session->Run(Command::Quit);  // Yes
        } else {
            s.session->EndWithoutAsking();  // a signal: nobody to answer a box
        }
        EXPECT_EQ(::testing::internal::GetCapturedStderr().find("could not write the records") != std::string::npos,
                  !asked);
        EXPECT_EQ(s.dialogs.questions.size(), asked ? 1u : 0u);
        EXPECT_EQ(s.dialogs.messages, asked ? std::vector{failed} : std::vector<std::string>{});
        EXPECT_EQ(s.views.ended, 1);
        EXPECT_TRUE(std::filesystem::exists(s.folder / "plumix.ini"));
        const std::int64_t figY = s.State().figY;
        s.clock.Advance(5000);
        EXPECT_EQ(s.State().figY, figY);
    }
}

} // namespace
} // namespace plumix
