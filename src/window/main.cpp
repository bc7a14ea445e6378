// Start-up: the splash, then every loader in its order, then the main window.
#include "scores/synchronize.h"
#include "settings/sound_player_qt.h"
#include "window/app_state.h"
#include "window/hiscores_wiring_qt.h"
#include "window/main_window.h"
#include "window/quit_signals_qt.h"
#include "window/splash_window.h"
#include "window/startup_qt.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// PLUMIX_TIMING=1 prints the start-up milestones to stderr.
class Milestones {
public:
    Milestones() : on_(qEnvironmentVariableIntValue("PLUMIX_TIMING") == 1) { clock_.start(); }
    void Mark(const char* what) const
    {
        if (on_) {
            std::fprintf(stderr, "plumix: %7.2f ms  %s\n", static_cast<double>(clock_.nsecsElapsed()) / 1e6, what);
        }
    }

private:
    bool on_;
    QElapsedTimer clock_;
};

} // namespace

int main(int argc, char** argv)
{
    Milestones milestones;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plumix"));
    QApplication::setApplicationVersion(QStringLiteral(PLUMIX_VERSION));
    milestones.Mark("application");

    plumix::SplashWindow splash;
    splash.show();
    splash.SetStatus(QStringLiteral("Initialisation..."));
    milestones.Mark("splash shown");

    plumix::AppState state;
    plumix::MainWindow window(state);  // fills the figure table; no game runs
    plumix::ConnectHiScores(window, state, plumix::SharedRecordsPath(std::getenv("HOME")));
    plumix::LoadEverything(state, window, {
        [&](const QString& text) { splash.SetStatus(text); },
        [&](const char* what) { milestones.Mark(what); },
        [](const QString& text) {
            QMessageBox box(QMessageBox::Critical, QStringLiteral("Plumix"), text);
            box.exec();
        },
    });
    splash.close();
    window.show();
    // A window manager gives a new window the focus; without one (a kiosk
    // session) nothing would, and the first key would go nowhere.
    window.activateWindow();
    milestones.Mark("main window shown");

    // The sound output is opened once the window is up: the effects are
    // decoded here, before the first key can ask for one.
    std::unique_ptr<plumix::SoundPlayer> sound;
    QTimer::singleShot(0, &window, [&] {
        sound = std::make_unique<plumix::SoundPlayer>(state.settings, state.folder);
        window.SetSound(sound.get());
        milestones.Mark("sound ready");
    });

    QObject::connect(&window, &plumix::MainWindow::Ended, &app, &QApplication::quit);
    plumix::EndOnSystemRequest(window);
    const int result = QApplication::exec();
    window.SetSound(nullptr);
    return result;
}
