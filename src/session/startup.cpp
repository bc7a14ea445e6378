#include "session/startup.h"

#include "base/file_io.h"
#include "levels/levels_file.h"
#include "scores/records_file.h"
#include "settings/language.h"
#include "settings/settings_file.h"

namespace plumix {

namespace {

void LoadRecordTables(AppState& app, StartupView& view)
{
    if (!app.KeepsFiles()) {
        view.Problem(NoPlayerFolderMessage);
        return;
    }
    // What a save or a synchronizing killed half-way left behind.
    RemoveLeftTemporaries(app.folders.user, {RecordsFileName, SettingsFileName});
    if (!app.sharedRecords.empty()) {
        RemoveLeftTemporaries(app.sharedRecords.parent_path(), {app.sharedRecords.filename().string()});
    }
    const std::filesystem::path records = app.folders.user / RecordsFileName;
    const RecordsFileStatus loaded = LoadRecords(records, app.records);
    if (!loaded.ok) {
        view.Problem(RecordsLoadFailedMessage);
    }
    if (const std::string damaged = DamagedRecordsMessage(records, loaded); !damaged.empty()) {
        view.Problem(damaged);
    }
}

} // namespace

void LoadEverything(AppState& app, StartupView& view)
{
    // The text table is not loaded yet: this one text is fixed.
    view.Status("Load options and language");
    if (app.KeepsFiles()) {
        app.settings = LoadSettings(app.folders.user / SettingsFileName);
    }
    LoadLanguage(app.texts, app.settings.languageFile, FolderHolding(app.folders.data, app.settings.languageFile));
    view.LanguageLoaded();
    view.Milestone("settings and language");

    view.Status(TextOf(app.texts, TextLoadSkin));
    view.LoadSkin();
    view.Milestone("skin");

    view.Status(TextOf(app.texts, TextLoadRecords));
    LoadRecordTables(app, view);
    view.Milestone("records");

    view.Status(TextOf(app.texts, TextLoadLevels));
    app.levels = LoadLevels(FolderHolding(app.folders.data, LevelsFileName) / LevelsFileName);
    view.Milestone("levels");
    view.Loaded();
}

} // namespace plumix
