// The loading steps of start-up, in their order: settings and language,
// skin, record tables, levels, then the empty field. Each step first shows its text
// (on the splash), so a slow step is seen while it runs.
#pragma once

#include "session/app_state.h"

#include <QCoreApplication>
#include <QLocale>
#include <QString>

#include <functional>
#include <string_view>

namespace plumix {

class GameApp;

// Installed for a user the system gives no home folder: the game plays, but
// nothing it could keep has a place.
inline constexpr std::string_view NoPlayerFolderMessage =
    "There is no home folder for your files: settings and hi-scores will not be kept after this game.";

struct StartupReport {
    std::function<void(const QString&)> status;     // the splash's line of text
    std::function<void(const char*)> milestone;    // PLUMIX_TIMING
    std::function<void(std::string_view)> error;   // what went wrong, for the player to confirm
};

void LoadEverything(AppState& app, GameApp& game, const StartupReport& report);

// Qt's own texts (the Yes, No and OK of message boxes) in `locale`'s language,
// from the translations Debian ships with Qt; false when it has none for it.
bool InstallQtTranslations(QCoreApplication& app, const QLocale& locale);

} // namespace plumix
