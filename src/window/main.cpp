// Start-up: the splash, then every loader in its order, then the main window.
#include "scores/synchronize.h"
#include "base/game_folders.h"
#include "pad/view/pad_delivery.h"
#include "sound/view/sound_player.h"
#include "session/app_state.h"
#include "window/game_app.h"
#include "window/quit_signals.h"
#include "window/single_game.h"
#include "window/splash_window.h"
#include "window/game_startup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

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

constexpr const char* Usage =
    "Usage: plumix [--help] [--version]\n"
    "\n"
    "A falling-block puzzle game: Classic PLUMIX, endless and faster as the\n"
    "score grows, and the 100 levels of PLUMIX 2.\n"
    "\n"
    "Keys:\n"
    "  Left, Right   move the falling figure\n"
    "  Up            turn it\n"
    "  Down          drop it fast (one point per row)\n"
    "  F2            new Classic game\n"
    "  F3            new PLUMIX 2 game (the levels)\n"
    "  Space         pause / resume\n"
    "  F5            hi-scores tables (pauses a running game)\n"
    "  F8            settings (pauses a running game)\n"
    "  F1            About (pauses a running game)\n"
    "  Esc, Alt+F4   quit (asks first while a game runs)\n"
    "\n"
    "Gamepad (any pad SDL knows; SDL_GAMECONTROLLERCONFIG adds your own mapping):\n"
    "  D-pad or left stick left, right   move (repeats while held)\n"
    "  D-pad or left stick down          drop fast\n"
    "  A (lower button), D-pad up        turn\n"
    "  Start                             pause / resume\n"
    "  X (left button)                   new Classic game\n"
    "  Y (upper button)                  new PLUMIX 2 game\n"
    "  Back / Select                     hi-scores tables\n"
    "  left, right shoulder button       settings, About\n"
    "  In the other windows the D-pad moves between the controls, left and\n"
    "  right change a scroll bar or list, A presses, ticks or accepts, and B\n"
    "  closes the window or answers No. The level window starts on any\n"
    "  button. Unplugging the pad pauses a running game.\n"
    "\n"
    "Run from a folder that holds its data (Skins/, Sounds/, Data/), the game\n"
    "keeps plumix.ini and Records in that folder. Installed, it keeps\n"
    "them in $XDG_DATA_HOME/plumix (~/.local/share/plumix), where skins, sounds,\n"
    "language files and levels dropped in are read before the installed ones.\n"
    "Installed into that very folder (--prefix ~/.local), it keeps them in\n"
    "$XDG_CONFIG_HOME/plumix (~/.config/plumix) instead.\n"
    "\n"
    "  --help     show this text and exit\n"
    "  --version  show the version and exit\n";

// --help and --version answer without a display; anything else is Qt's.
bool AnsweredFromCommandLine(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("plumix %s\n", PLUMIX_VERSION);
            return true;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(Usage, stdout);
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (AnsweredFromCommandLine(argc, argv)) {
        return 0;
    }
    Milestones milestones;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plumix"));
    QApplication::setApplicationVersion(QStringLiteral(PLUMIX_VERSION));
    plumix::InstallQtTranslations(app, QLocale());
    milestones.Mark("application");

    const std::filesystem::path home = plumix::HomeFolder(std::getenv("HOME"));
    const plumix::GameFolders folders =
        plumix::LocateGameFolders(QCoreApplication::applicationDirPath().toStdString(), std::getenv("XDG_DATA_HOME"),
                                  home.c_str(), std::getenv("XDG_CONFIG_HOME"));
    // A second game on the same records would save over the first one's:
    // a second start brings the running game forward instead, before it shows anything.
    plumix::SingleGame single(folders.user);
    if (single.RunningElsewhere()) {
        return single.HandOver();
    }

    plumix::SplashWindow splash;
    splash.show();
    splash.SetStatus(QStringLiteral("Initialisation..."));
    milestones.Mark("splash shown");

    plumix::AppState state;
    state.folders = folders;
    state.sharedRecords = plumix::SharedRecordsPath(home.c_str());
    plumix::GameApp game(state);
    // What went wrong is shown once the main window is up: a box opened
    // before it would lose the focus to it, and the keys with it.
    std::vector<std::string> problems;
    plumix::LoadEverything(state, game, {
        [&](const QString& text) { splash.SetStatus(text); },
        [&](const char* what) { milestones.Mark(what); },
        [&](std::string_view text) { problems.emplace_back(text); },
    });
    splash.close();
    plumix::MainWindow& window = game.Window();
    window.show();
    // A window manager gives a new window the focus; without one (a kiosk
    // session) nothing would, and the first key would go nowhere.
    window.activateWindow();
    for (const std::string& problem : problems) {
        game.Dialogs().ShowError(problem);
    }
    single.BringForwardOnRequest(window);
    milestones.Mark("main window shown");

    // The sound output is opened once the window is up: the effects are
    // decoded here, before the first key can ask for one.
    std::unique_ptr<plumix::SoundPlayer> sound;
    QTimer::singleShot(0, &window, [&] {
        sound = std::make_unique<plumix::SoundPlayer>([&] { return state.settings.soundOn; },
                                                       state.folders.data);
        game.SetSound(sound.get());
        milestones.Mark("sound ready");
    });
    // The pads likewise: where SDL cannot read them the game plays without.
    QTimer::singleShot(0, &window, [&] {
        game.StartPads(plumix::DesktopKeyRepeat());
        milestones.Mark("pads ready");
    });

    QObject::connect(&game, &plumix::GameApp::Ended, &app, &QApplication::quit);
    plumix::EndOnSystemRequest(game);
    const int result = QApplication::exec();
    game.SetSound(nullptr);
    return result;
}
