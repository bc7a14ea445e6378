#include "session/game_session.h"

#include "engine/keys.h"
#include "scores/records_file.h"
#include "settings/settings_file.h"

#include <cstdio>

namespace plumix {

std::optional<Command> CommandForKey(int keyCode, int shift)
{
    if (keyCode == VkF4 && shift == ShiftMaskAlt) {
        return Command::Quit;
    }
    switch (keyCode) {
    case VkF2: return Command::NewClassicGame;
    case VkF3: return Command::NewLevelGame;
    case VkSpace: return Command::Pause;
    case VkF5: return Command::HiScores;
    case VkF8: return Command::Settings;
    case VkF1: return Command::About;
    case VkEscape: return Command::Quit;
    default: return std::nullopt;
    }
}

GameSession::GameSession(AppState& app, Ports ports)
    : app_(app),
      dialogs_(ports.game.dialogs),
      views_(ports.views),
      game_(ports.game, *this, app.settings.play),
      levels_(game_, LevelFlow::Ports{ports.game.dialogs, *this}, app.levels),
      records_(app.records)
{
}

GameSession::~GameSession() = default;

void GameSession::OnTimer(TimerId id)
{
    if (!ending_) {
        game_.OnTimer(id);
    }
}

void GameSession::Run(Command command)
{
    if (ending_) {
        return;
    }
    if (command != Command::Quit) {
        views_.BringForward();
    }
    // A game whose crash has begun is over: a new game or the quit would drop
    // its result before it reaches the table, so they wait for its end.
    const bool startsOrEnds = command == Command::NewClassicGame || command == Command::NewLevelGame ||
                              command == Command::Quit;
    if (startsOrEnds && game_.Ending()) {
        return;
    }
    switch (command) {
    case Command::NewClassicGame: game_.NewClassicGame(); break;
    case Command::NewLevelGame: levels_.NewGame(); break;
    case Command::Pause: game_.TogglePause(); break;
    // The windows of the game's own stand over a paused game, and it stays
    // paused when they close.
    case Command::HiScores:
        game_.OwnWindowOpened();
        views_.ShowHiScores();
        break;
    case Command::Settings:
        game_.OwnWindowOpened();
        views_.ShowSettings();
        break;
    case Command::About:
        game_.OwnWindowOpened();
        views_.ShowAbout();
        break;
    case Command::Quit: Quit(); break;
    }
}

void GameSession::KeyDown(int keyCode, int shift)
{
    if (const auto command = CommandForKey(keyCode, shift)) {
        Run(*command);
    }
    // Every key reaches the game too: an arrow moves the figure, any key on a
    // falling figure stirs the random sequence.
    if (!ending_) {
        game_.KeyDown(keyCode);
    }
}

void GameSession::Quit()
{
    if (ending_) {
        return;
    }
    if (game_.State().gameMode == GameMode::None) {
        SaveAndEnd(true);
        return;
    }
    game_.AskThen(Question::Quit, [this](bool yes) {
        if (yes) {
            SaveAndEnd(true);
        }
    });
}

void GameSession::EndWithoutAsking()
{
    if (!ending_) {
        SaveAndEnd(false);
    }
}

void GameSession::SaveAndEnd(bool mayAsk)
{
    // Nothing of the game runs any more while the files are written.
    ending_ = true;
    RecordsFileStatus saved;
    if (app_.KeepsFiles()) {
        saved = SaveRecords(RecordsPath(), app_.records);
        SaveSettings(app_.folders.user / SettingsFileName, app_.settings);
    }
    if (!mayAsk) {
        if (!saved.ok) {  // nobody to answer a box: the desktop's session log keeps it
            std::fprintf(stderr, "plumix: could not write the records to %s; the file is left as it was\n",
                         RecordsPath().c_str());
        }
        views_.EndProgram();
        return;
    }
    ToldOfSave(saved, [this] { views_.EndProgram(); });
}

void GameSession::ToldOfSave(const RecordsFileStatus& saved, std::function<void()> then)
{
    const std::string damaged = DamagedRecordsMessage(RecordsPath(), saved);
    auto failure = [this, ok = saved.ok, then = std::move(then)] {
        if (ok) {
            then();
        } else {
            dialogs_.ShowError(RecordsSaveFailedMessage, then);
        }
    };
    if (damaged.empty()) {
        failure();
    } else {
        dialogs_.ShowError(damaged, failure);
    }
}

void GameSession::GameEnded(const GameResult& result)
{
    const int place = records_.Enter(result);
    if (place == 0) {
        dialogs_.ShowMessage(GameOverText);
        return;
    }
    views_.ShowRecordEntry(place);
}

SyncReport GameSession::Synchronize()
{
    const RecordsFileStatus synced = plumix::Synchronize(app_.sharedRecords, app_.records);
    return {synced.ok, DamagedRecordsMessage(app_.sharedRecords, synced)};
}

void GameSession::RecordEntered(const TypedEntry& typed)
{
    records_.Fill(typed);
    // Written at once: a crash or a power cut before the end keeps it. A save
    // that fails is told now, while the player can still make room on the disk,
    // and tried again at the end: a run the system ends has nobody to tell then.
    const RecordsFileStatus saved = app_.KeepsFiles() ? SaveRecords(RecordsPath(), app_.records) : RecordsFileStatus{};
    if (!ending_) {
        ToldOfSave(saved, [this] { views_.ShowHiScores(); });
    }
}

} // namespace plumix
