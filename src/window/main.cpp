// Start-up: the splash, then every loader in its order, then the main window.
#include "scores/hiscores_setup_window.h"
#include "scores/records_file.h"
#include "scores/synchronize.h"
#include "settings/language.h"
#include "settings/settings_file.h"
#include "settings/sound_player_qt.h"
#include "window/app_state.h"
#include "window/main_window.h"
#include "window/splash_window.h"

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

QString Text(const plumix::TextTable& texts, int number)
{
    return QString::fromStdString(plumix::TextOf(texts, number));
}

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
    splash.SetStatus(QStringLiteral("Load options and language"));
    state.settings = plumix::LoadSettings(state.folder / plumix::SettingsFileName);
    plumix::LoadLanguage(state.texts, state.settings.languageFile, state.folder);
    window.ApplyLanguage();
    milestones.Mark("settings and language");

    splash.SetStatus(Text(state.texts, 501));
    window.LoadSkin();
    milestones.Mark("skin");

    splash.SetStatus(Text(state.texts, 502));
    if (plumix::LoadRecords(state.folder / plumix::RecordsFileName, state.records) !=
        plumix::RecordsFileResult::Ok) {
        const auto& message = plumix::RecordsLoadFailedMessage;
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Plumix"),
                        QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())));
        box.exec();
    }
    milestones.Mark("records");

    window.GetGame().ClearBoard();
    splash.close();
    window.show();
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
    const int result = QApplication::exec();
    window.SetSound(nullptr);
    return result;
}
