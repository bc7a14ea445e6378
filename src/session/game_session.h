// The game as the player meets it, without its windows: the engine, the
// level mode and the record book; the menu commands and the keys that give
// them; what follows the end of a game; and the files written when the run
// ends. The Qt side shows what the session asks for and hands it input.
#pragma once

#include "engine/game.h"
#include "levels/level_flow.h"
#include "scores/record_book.h"
#include "scores/records_file.h"
#include "scores/synchronize.h"
#include "session/app_state.h"

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

namespace plumix {

// What the six menu buttons, their function keys, and the quit keys do.
enum class Command { NewClassicGame, NewLevelGame, Pause, HiScores, Settings, About, Quit };
// The menu buttons from the top.
inline constexpr std::array<Command, 6> MenuCommands = {Command::NewClassicGame, Command::NewLevelGame,
                                                        Command::Pause,          Command::HiScores,
                                                        Command::Settings,       Command::About};

// The command a key gives whatever control has the focus: F2, F3, Space, F5,
// F8, F1, Esc, and Alt+F4 (Alt alone). None for any other key.
std::optional<Command> CommandForKey(int keyCode, int shift);

// The windows the session opens; the Qt side shows them.
class SessionViews {
public:
    virtual ~SessionViews() = default;
    // The current level's window; dismissing it calls Levels().StartLevel().
    virtual void ShowLevelIntro() = 0;
    // The ended game earned `place`: the entry window, which calls
    // RecordEntered however it is closed.
    virtual void ShowRecordEntry(int place) = 0;
    virtual void ShowHiScores() = 0;
    virtual void ShowSettings() = 0;
    virtual void ShowAbout() = 0;
    // A menu command was given: the main window comes to the front.
    virtual void BringForward() = 0;
    // The files are written: the program ends.
    virtual void EndProgram() = 0;
};

class GameSession : private GameEndPort, private LevelIntroPort {
public:
    struct Ports {
        Game::Ports game;
        SessionViews& views;
    };

    // `app` must outlive the session; its levels are read when a level starts.
    GameSession(AppState& app, Ports ports);
    ~GameSession() override;
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;

    Game& GetGame() { return game_; }
    const Game& GetGame() const { return game_; }
    LevelFlow& Levels() { return levels_; }
    const LevelFlow& Levels() const { return levels_; }
    RecordBook& Records() { return records_; }
    AppState& App() { return app_; }
    const AppState& App() const { return app_; }

    // A timer's tick; once the run is ending nothing of the game runs.
    void OnTimer(TimerId id);
    void Run(Command command);
    // Every key of the main window and of its controls: a command, then the
    // game's own keys.
    void KeyDown(int keyCode, int shift);

    // The entry window closed with what was typed: the place is filled, the
    // tables are written at once, and the hi-scores window shows them.
    void RecordEntered(const TypedEntry& typed);
    // The hi-scores window's "Synchronizing": the shared file merged into the
    // tables and written back.
    SyncReport Synchronize();
    // The hi-scores, settings or About window closed: a game behind it stays
    // paused, and what an animation left waiting behind it follows now.
    void OwnWindowClosed() { game_.OwnWindowClosed(); }
    // Another program has taken the focus for good.
    void FocusLost() { game_.PauseGame(); }
    // The system ends the program (a signal, the end of the desktop session):
    // the files are written without a question. A crash under way ends at
    // once, so that the ended game reaches its table first; the views must
    // close what that opens before calling EndWithoutAsking.
    void FinishEndingGame() { game_.FinishEnding(); }
    void EndWithoutAsking();
    bool Ending() const { return ending_; }

private:
    void Quit();
    // `mayAsk`: a failure to write the records is shown before the end.
    void SaveAndEnd(bool mayAsk);
    // What the player must know of a save (a damaged file kept, a failure),
    // one box after the other, then `then`.
    void ToldOfSave(const RecordsFileStatus& saved, std::function<void()> then);
    std::filesystem::path RecordsPath() const { return app_.folders.user / RecordsFileName; }
    void GameEnded(const GameResult& result) override;
    void ShowLevelIntro() override { views_.ShowLevelIntro(); }

    AppState& app_;
    DialogPort& dialogs_;
    SessionViews& views_;
    Game game_;
    LevelFlow levels_;
    RecordBook records_;
    bool ending_ = false;
};

} // namespace plumix
