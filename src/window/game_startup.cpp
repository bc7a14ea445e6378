#include "window/game_startup.h"

#include "widgets/plain_text.h"
#include "window/game_app.h"

#include <QLibraryInfo>
#include <QTranslator>

namespace plumix {

namespace {

class SplashSteps : public StartupView {
public:
    SplashSteps(GameApp& game, const StartupReport& report) : game_(game), report_(report) {}
    void Status(std::string_view text) override
    {
        if (report_.status) {
            report_.status(FromUtf8(text));
        }
    }
    void Milestone(const char* what) override
    {
        if (report_.milestone) {
            report_.milestone(what);
        }
    }
    void LanguageLoaded() override { game_.Window().ApplyLanguage(game_.Session().App().texts); }
    void LoadSkin() override { game_.LoadSkin(); }
    void Loaded() override { game_.Session().GetGame().RepaintCells(); }
    void Problem(std::string_view text) override
    {
        if (report_.problem) {
            report_.problem(text);
        }
    }

private:
    GameApp& game_;
    const StartupReport& report_;
};

} // namespace

void LoadEverything(AppState& app, GameApp& game, const StartupReport& report)
{
    SplashSteps steps(game, report);
    LoadEverything(app, steps);
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
