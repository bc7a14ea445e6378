// The composition root: builds the session, the main window and the game's
// other windows, and wires them together. It is the session's views: it opens
// the level window, the record entry, the hi-scores, settings and About
// windows, and ends the program once the session has written its files.
#pragma once

#include "pad/pad_keys.h"
#include "session/game_session.h"
#include "widgets/dialogs.h"
#include "window/main_window.h"
#include "window/timers.h"

#include <QObject>

#include <filesystem>
#include <memory>

namespace plumix {

class HiScoresWindow;
class PadInput;

class GameApp : public QObject, private SessionViews {
    Q_OBJECT
public:
    // `app` must outlive the program's windows; `random` may be given by
    // tests, by default a clock-seeded generator deals the figures.
    explicit GameApp(AppState& app, std::unique_ptr<RandomSource> random = nullptr);
    ~GameApp() override;

    MainWindow& Window() { return *window_; }
    GameSession& Session() { return *session_; }
    QtTimers& Timers() { return *timers_; }
    HiScoresWindow& HiScores() { return *hiScores_; }
    DialogPort& Dialogs() { return dialogs_; }

    // Where sound effects go; until set (or without an output) the game is silent.
    void SetSound(SoundPort* sound) { relay_.target = sound; }
    // The chosen skin's colours and pictures, on every window that shows them.
    void LoadSkin();
    // The system ends the game (a signal, the end of the desktop session): our
    // windows that wait for the player close as the player would close them,
    // then the files are written without a question.
    void EndWithoutAsking();
    // Pads play from now on: start-up calls it once the window is up. An
    // unplugged pad pauses a running game as losing the focus does.
    void StartPads(KeyRepeat repeat);
    PadInput* Pads() { return pads_.get(); }

signals:
    // The record tables and the settings have been written: the program ends.
    void Ended();

private:
    // Passes effects on to the player once there is one; silent before.
    struct SoundRelay : SoundPort {
        void PlaySfx(SoundEffect effect) override
        {
            if (target != nullptr) {
                target->PlaySfx(effect);
            }
        }
        SoundPort* target = nullptr;
    };

    void ShowLevelIntro() override;
    void ShowRecordEntry(int place) override;
    void ShowHiScores() override;
    void ShowSettings() override;
    void ShowAbout() override;
    void BringForward() override;
    void EndProgram() override { emit Ended(); }

    AppState& app_;
    std::unique_ptr<RandomSource> random_;
    SoundRelay relay_;
    std::unique_ptr<MainWindow> window_;
    QtTimers* timers_ = nullptr;
    QtDialogs dialogs_;
    std::unique_ptr<GameSession> session_;
    HiScoresWindow* hiScores_ = nullptr;
    std::unique_ptr<PadInput> pads_;  // declared last, so gone first: it hands keys to all above
};

} // namespace plumix
