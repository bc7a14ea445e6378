// Start-up as the player sees it: the steps of LoadEverything on the splash,
// the language and the skin on the windows; and Qt's own texts.
#pragma once

#include "session/startup.h"

#include <QCoreApplication>
#include <QLocale>
#include <QString>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace plumix {

class GameApp;

// What the splash and PLUMIX_TIMING show of the steps; the problems are kept
// for the main window to show once it is up.
struct StartupReport {
    std::function<void(const QString&)> status;     // the splash's line of text
    std::function<void(const char*)> milestone;    // PLUMIX_TIMING
    std::function<void(std::string_view)> problem;  // what went wrong
};

void LoadEverything(AppState& app, GameApp& game, const StartupReport& report);

// Qt's own texts (the Yes, No and OK of message boxes) in `locale`'s language,
// from the translations Debian ships with Qt; false when it has none for it.
bool InstallQtTranslations(QCoreApplication& app, const QLocale& locale);

} // namespace plumix
