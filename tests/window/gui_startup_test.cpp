// Start-up with the shipped data: the splash texts in their order, the
// language and skin they name, and what a missing skin picture leaves.
#include "settings/settings_file.h"
#include "widgets/button.h"
#include "window/board_widget.h"
#include "window/main_window.h"
#include "window/startup_qt.h"

#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>

namespace plumix {
namespace {

namespace fs = std::filesystem;

struct GameFolder {
    QTemporaryDir dir;
    fs::path path{dir.path().toStdString()};
    GameFolder()
    {
        fs::copy(PLUMIX_ASSETS, path, fs::copy_options::recursive);
    }
    void WriteSettings(const Settings& settings) const { SaveSettings(path / "plumix.ini", settings); }
};

struct Started {
    AppState app;
    std::unique_ptr<MainWindow> window;
    QStringList statuses;
    QStringList criticals;
    explicit Started(const fs::path& folder)
    {
        app.folder = folder;
        window = std::make_unique<MainWindow>(app);
        LoadEverything(app, *window, {[this](const QString& s) { statuses << s; }, nullptr,
                                      [this](const QString& s) { criticals << s; }});
    }
};

QRgb PixelOf(const QPixmap& picture)
{
    return picture.toImage().pixel(16, 16);
}

TEST(StartupGui, SplashTextsComeInOrderAndTheShippedSkinIsLoaded)
{
    GameFolder folder;
    Started s(folder.path);
    EXPECT_EQ(s.statuses, (QStringList{"Load options and language", "Load skin", "Load hi-scores table"}));
    EXPECT_TRUE(s.criticals.isEmpty());
    // A first start creates an empty settings file and an empty record file.
    EXPECT_EQ(fs::file_size(folder.path / "plumix.ini"), 0u);
    EXPECT_EQ(fs::file_size(folder.path / "Records"), 0u);
    EXPECT_EQ(s.window->MenuButton(0).Caption(), "New game Plumix");
    EXPECT_TRUE(s.window->MenuButton(0).toolTip().contains("Begin new game of Classic Plumix (F2)"));
    EXPECT_TRUE(s.window->MenuButton(2).toolTip().contains("Pause/resume game (Space)"));
    // The standard skin brings its own text colour and all its pictures.
    EXPECT_NE(s.app.settings.textColor, Settings{}.textColor);
    EXPECT_EQ(s.window->MenuButton(3).CaptionColor(),
              QColor(s.app.settings.textColor.red, s.app.settings.textColor.green, s.app.settings.textColor.blue));
    const QPixmap block = QPixmap(QString::fromStdString((folder.path / "Skins/Standart/block3.gif").string()));
    EXPECT_EQ(PixelOf(s.window->Board().PalettePicture(3)), PixelOf(block));
    EXPECT_EQ(s.window->Board().BoardCell(0), 0);
}

TEST(StartupGui, TheChosenLanguageNamesTheSplashStepsAndTheButtons)
{
    GameFolder folder;
    Settings settings;
    settings.languageFile = "Russian.lag";
    settings.showGrid = 1;
    folder.WriteSettings(settings);
    Started s(folder.path);
    ASSERT_EQ(s.statuses.size(), 3);
    EXPECT_EQ(s.statuses[0], "Load options and language");
    EXPECT_EQ(s.statuses[1], QString::fromStdString(TextOf(s.app.texts, 501)));
    EXPECT_NE(s.statuses[1], "Load skin");
    EXPECT_EQ(s.window->MenuButton(0).Caption(), QString::fromStdString(TextOf(s.app.texts, 100)));
    EXPECT_NE(s.window->MenuButton(0).Caption(), "New game Plumix");
    // The grid setting read at start decides the empty cells of the first field.
    EXPECT_EQ(s.window->Board().BoardCell(199), 10);
    EXPECT_EQ(s.window->Board().PreviewCell(15), 10);
}

TEST(StartupGui, MissingSkinPartsKeepWhatTheWindowShowedBefore)
{
    GameFolder folder;
    fs::remove(folder.path / "Skins/Standart/block5.gif");
    Settings settings;
    settings.skinFile = "Neon.psk";
    folder.WriteSettings(settings);
    Started neon(folder.path);
    const QPixmap neonBlock = neon.window->Board().PalettePicture(5);

    // Switching to a skin that lacks one picture keeps the previous one there.
    neon.app.settings.skinFile = "Standart.psk";
    neon.window->LoadSkin();
    EXPECT_EQ(PixelOf(neon.window->Board().PalettePicture(5)), PixelOf(neonBlock));
    const QPixmap standardBlock(QString::fromStdString((folder.path / "Skins/Standart/block4.gif").string()));
    EXPECT_EQ(PixelOf(neon.window->Board().PalettePicture(4)), PixelOf(standardBlock));

    // A skin file that is not there changes nothing at all.
    const Rgb before = neon.app.settings.textColor;
    neon.app.settings.skinFile = "Nowhere.psk";
    neon.window->LoadSkin();
    EXPECT_EQ(neon.app.settings.textColor, before);
}

TEST(StartupGui, AnUnwritableRecordFileIsReportedAndTheGameGoesOn)
{
    GameFolder folder;
    fs::create_directory(folder.path / "Records");  // a folder where the file should be
    Started s(folder.path);
    ASSERT_EQ(s.criticals.size(), 1);
    EXPECT_TRUE(s.criticals[0].endsWith(QString::fromUtf8("не будет загружена")));
    EXPECT_EQ(s.app.records.classic.At(1).score, 0);
    s.window->GetGame().StartClassicGame();
    EXPECT_EQ(s.window->GetGame().State().gameMode, GameModeClassic);
}

} // namespace
} // namespace plumix
