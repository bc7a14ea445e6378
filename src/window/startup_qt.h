// The loading steps of start-up, in their order: settings and language,
// skin, record tables, levels, then the empty field. Each step first shows its text
// (on the splash), so a slow step is seen while it runs.
#pragma once

#include "window/app_state.h"

#include <QCoreApplication>
#include <QLocale>
#include <QString>

#include <functional>

namespace plumix {

class MainWindow;

struct StartupReport {
    std::function<void(const QString&)> status;     // the splash's line of text
    std::function<void(const char*)> milestone;    // PLUMIX_TIMING
    std::function<void(const QString&)> critical;  // a message with the critical-stop icon
};

void LoadEverything(AppState& app, MainWindow& window, const StartupReport& report);

// Qt's own texts (the Yes, No and OK of message boxes) in `locale`'s language,
// from the translations Debian ships with Qt; false when it has none for it.
bool InstallQtTranslations(QCoreApplication& app, const QLocale& locale);

} // namespace plumix
