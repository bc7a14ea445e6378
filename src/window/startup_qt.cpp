#include "window/startup_qt.h"

#include "levels/levels_file.h"
#include "scores/records_file.h"
#include "base/file_io.h"
#include "base/game_folders.h"
#include "settings/language.h"
#include "settings/settings_file.h"
#include "window/game_app.h"

#include <QLibraryInfo>
#include <QTranslator>

namespace plumix {

namespace {

QString Text(const TextTable& texts, int number)
{
    return QString::fromStdString(TextOf(texts, number));
}

} // namespace

void LoadEverything(AppState& app, GameApp& game, const StartupReport& report)
{
    auto status = [&](const QString& text) {
        if (report.status) {
            report.status(text);
        }
    };
    auto milestone = [&](const char* what) {
        if (report.milestone) {
            report.milestone(what);
        }
    };

    // The text table is not loaded yet: this one text is fixed.
    status(QStringLiteral("Load options and language"));
    if (app.KeepsFiles()) {
        app.settings = LoadSettings(app.folders.user / SettingsFileName);
    }
    LoadLanguage(app.texts, app.settings.languageFile, FolderHolding(app.folders.data, app.settings.languageFile));
    game.Window().ApplyLanguage(app.texts);
    milestone("settings and language");

    status(Text(app.texts, TextLoadSkin));
    game.LoadSkin();
    milestone("skin");

    status(Text(app.texts, TextLoadRecords));
    if (!app.KeepsFiles()) {
        if (report.error) {
            report.error(NoPlayerFolderMessage);
        }
    } else {
        // What a save killed half-way left behind.
        RemoveLeftTemporaries(app.folders.user, {RecordsFileName, SettingsFileName});
        const std::filesystem::path records = app.folders.user / RecordsFileName;
        const RecordsFileStatus loaded = LoadRecords(records, app.records);
        if (report.error) {
            if (!loaded.ok) {
                report.error(RecordsLoadFailedMessage);
            }
            if (const std::string damaged = DamagedRecordsMessage(records, loaded); !damaged.empty()) {
                report.error(damaged);
            }
        }
    }
    milestone("records");

    status(Text(app.texts, TextLoadLevels));
    app.levels = LoadLevels(FolderHolding(app.folders.data, LevelsFileName) / LevelsFileName);
    milestone("levels");
    game.Session().GetGame().RepaintCells();
}

bool InstallQtTranslations(QCoreApplication& app, const QLocale& locale)
{
    auto* translator = new QTranslator(&app);
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace plumix
