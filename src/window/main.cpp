// Start-up: the splash, then every loader in its order, then the main window.
#include "window/app_state.h"
#include "window/main_window.h"
#include "window/splash_window.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>

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
    plumix::FillDefaultTexts(state.texts);
    plumix::MainWindow window(state);  // builds the figure table
    splash.SetStatus(QStringLiteral("Load options and language"));

    window.GetGame().ClearBoard();
    splash.close();
    window.show();
    milestones.Mark("main window shown");
    return QApplication::exec();
}
