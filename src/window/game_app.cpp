#include "window/game_app.h"

#include "engine/clock_seeded_random.h"
#include "levels/level_intro.h"
#include "levels/view/level_intro_window.h"
#include "pad/view/pad_input.h"
#include "scores/view/hiscores_window.h"
#include "scores/view/record_entry_window.h"
#include "settings/view/settings_dialog.h"
#include "widgets/about_box.h"
#include "widgets/plain_text.h"
#include "window/board_widget.h"
#include "window/skin_pictures.h"

#include <QApplication>

namespace plumix {

GameApp::GameApp(AppState& app, std::unique_ptr<RandomSource> random)
    : app_(app),
      random_(random ? std::move(random) : std::make_unique<ClockSeededRandom>()),
      window_(std::make_unique<MainWindow>()),
      timers_(new QtTimers(this)),
      dialogs_(window_.get(), app.texts)
{
    session_ = std::make_unique<GameSession>(
        app, GameSession::Ports{{*timers_, *random_, window_->Board(), relay_, *window_, dialogs_}, *this});
    timers_->SetHandler([this](TimerId id) { session_->OnTimer(id); });
    window_->Attach(*session_);

    hiScores_ = new HiScoresWindow(app.settings, app.texts, session_->Records(),
                                   [this] { return session_->Synchronize(); }, window_.get());
    // However it closes (its button, Esc, the close box).
    connect(hiScores_, &QDialog::finished, this, [this] { session_->OwnWindowClosed(); });
}

GameApp::~GameApp()
{
    // The timers call into the session: silence them before it goes.
    timers_->SetHandler(nullptr);
}

void GameApp::StartPads(KeyRepeat repeat)
{
    pads_ = std::make_unique<PadInput>(repeat, [this] { session_->FocusLost(); });
    pads_->Start();
}

void GameApp::LoadSkin()
{
    plumix::LoadSkin(*window_, app_);
}

void GameApp::EndWithoutAsking()
{
    // A crash under way ends now and its record entry keeps what was typed
    // (the preset name), a question is answered No. Already ending, the boxes
    // about the save are closed, and the last one's closing ends the program.
    for (int i = 0; i < 8; ++i) {
        if (!session_->Ending()) {
            session_->FinishEndingGame();
        }
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            break;
        }
        modal->close();
    }
    if (!session_->Ending()) {
        session_->EndWithoutAsking();
    }
}

void GameApp::ShowLevelIntro()
{
    const LevelFlow& levels = session_->Levels();
    const LevelIntroTexts texts =
        ComposeLevelIntro(app_.texts, levels.CurrentLevel(), levels.Lives(), levels.CurrentLevelDef());
    auto* intro = new LevelIntroWindow(app_.settings, texts, window_.get());
    intro->setAttribute(Qt::WA_DeleteOnClose);
    // However it is dismissed (a key, a click, the close box), the level starts.
    connect(intro, &QDialog::finished, this, [this] { session_->Levels().StartLevel(); });
    intro->open();
}

void GameApp::ShowRecordEntry(int place)
{
    auto* entry = new RecordEntryWindow(app_.settings, app_.texts, place,
                                        FromUtf8(session_->Records().LastPlayerName()), window_.get());
    connect(entry, &RecordEntryWindow::Entered, this, [this, entry] {
        session_->RecordEntered(entry->Typed());
        entry->deleteLater();
    });
    entry->open();
}

void GameApp::ShowHiScores()
{
    hiScores_->ShowWindow();
}

void GameApp::ShowSettings()
{
    Game& game = session_->GetGame();
    SettingsEffects effects;
    effects.languageChanged = [this] { window_->ApplyLanguage(app_.texts); };
    effects.skinChanged = [this, &game] {
        LoadSkin();
        game.RepaintCells();
    };
    effects.colorsChanged = [this] { window_->ApplyColors(app_.settings); };
    effects.cellsChanged = [&game] { game.RepaintCells(); };
    effects.previewChanged = [&game] { game.RepaintCells(); };
    auto* dialog = new SettingsDialog(
        SettingsEditor(app_.settings, app_.texts, app_.skinColors, app_.folders.data, std::move(effects)),
        window_.get());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::finished, this, [this] { session_->OwnWindowClosed(); });
    dialog->open();
}

void GameApp::ShowAbout()
{
    auto* about = new AboutBox(app_.settings.textColor, app_.settings.backColor, app_.texts, window_.get());
    connect(about, &QDialog::finished, this, [this] { session_->OwnWindowClosed(); });
    about->open();
}

void GameApp::BringForward()
{
    window_->show();
    window_->raise();
    window_->activateWindow();
}

} // namespace plumix
