// The settings window over the real main window, with the shipped language
// files and skins in the game's folder.
#include "settings/game_folders.h"
#include "settings/settings_dialog.h"
#include "support/gui_player.h"
#include "widgets/button.h"
#include "window/board_widget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace plumix {
namespace {

namespace fs = std::filesystem;

const Rgb StandardText{255, 214, 110};
const Rgb StandardBack{26, 34, 70};
const Rgb NeonText{96, 255, 224};

struct Player : testing::GuiPlayer {
    Player()
    {
        const fs::path assets = PLUMIX_ASSETS;
        for (const char* file : {"Deutsch.lag", "Russian.lag"}) {
            fs::copy_file(assets / file, folder / file);
        }
        fs::copy(assets / "Skins", folder / "Skins", fs::copy_options::recursive);
        // A language file of another format version is not offered.
        testing::WriteFile(folder / "Old.lag", "Old\r\n1.3\r\n100,x\r\n");
        app.skinColors = {StandardText, StandardBack};
        app.settings.textColor = StandardText;
        app.settings.backColor = StandardBack;
        window->LoadSkin();
    }
    SettingsDialog* Open() { return Open(*this); }
    static SettingsDialog* Open(testing::GuiPlayer& p)
    {
        QTest::keyClick(p.window.get(), Qt::Key_F8);
        return qobject_cast<SettingsDialog*>(QApplication::activeModalWidget());
    }
    static QColor Ink(QWidget* w) { return w->palette().color(QPalette::WindowText); }
    static QColor Color(Rgb c) { return {c.red, c.green, c.blue}; }
    static std::array<int, 3> Bars(SettingsDialog* d)
    {
        return {d->ColorBar(0)->value(), d->ColorBar(1)->value(), d->ColorBar(2)->value()};
    }
    static std::array<QString, 3> Numbers(SettingsDialog* d)
    {
        return {d->ColorNumber(0)->text(), d->ColorNumber(1)->text(), d->ColorNumber(2)->text()};
    }
};

TEST(SettingsDialogGui, OpensPausedWithTheSettingsAndTheOfferedFiles)
{
    Player p;
    p.app.settings.colorsFromSkin = SettingOff;
    p.app.settings.textColor = {10, 20, 30};
    p.app.settings.rotateDir = RotateCounterclockwise;
    p.app.settings.showGrid = SettingOn;
    p.app.settings.soundOn = SettingOff;
    p.app.settings.skinFile = "Neon.psk";
    p.random->PushFigure(1);
    QTest::keyClick(p.window.get(), Qt::Key_F2);
    SettingsDialog* d = p.Open();
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(p.State().paused);
    EXPECT_EQ(d->windowTitle(), "Game settings");
    EXPECT_EQ(d->Frame(1)->title(), "Extorior");
    QStringList languages;
    for (int i = 0; i < d->LanguageList()->count(); ++i) {
        languages << d->LanguageList()->itemText(i);
    }
    EXPECT_EQ(languages, (QStringList{"English", "Deutsch", "Русский"}));
    EXPECT_EQ(d->LanguageList()->currentIndex(), 0);
    EXPECT_EQ(d->SkinList()->currentText(), "Neon Night");
    EXPECT_FALSE(d->ColorsFromSkinBox()->isChecked());
    EXPECT_TRUE(d->ColorBar(0)->isEnabled());
    EXPECT_EQ(Player::Bars(d), (std::array<int, 3>{10, 20, 30}));
    EXPECT_EQ(Player::Numbers(d), (std::array<QString, 3>{"10", "20", "30"}));
    EXPECT_TRUE(d->Counterclockwise()->isChecked());
    EXPECT_TRUE(d->GridBox()->isChecked());
    EXPECT_FALSE(d->SoundBox()->isChecked());
    EXPECT_TRUE(d->MusicBox()->isChecked());
    // Opening changed nothing.
    EXPECT_EQ(p.app.settings.textColor, (Rgb{10, 20, 30}));
    EXPECT_EQ(p.app.settings.skinFile, "Neon.psk");

    // The options take effect at once; the grid shows behind the window.
    d->GridBox()->click();
    EXPECT_EQ(p.app.settings.showGrid, SettingOff);
    EXPECT_EQ(p.window->Board().BoardCell(199), PalettePlainEmpty);
    d->GridBox()->click();
    EXPECT_EQ(p.window->Board().BoardCell(199), PaletteGrid);
    EXPECT_NE(p.window->Board().BoardCell(14), PaletteGrid);  // the falling square is drawn again
    d->Clockwise()->click();
    d->SoundBox()->click();
    d->MoveDuringFallBox()->click();
    d->NextBox()->click();
    EXPECT_EQ(p.app.settings.rotateDir, RotateClockwise);
    EXPECT_EQ(p.app.settings.soundOn, SettingOn);
    EXPECT_EQ(p.app.settings.moveDuringFall, SettingOff);
    EXPECT_EQ(p.app.settings.showNext, SettingOff);
    for (int i = 0; i < PreviewCellCount; ++i) {
        EXPECT_EQ(p.window->Board().PreviewCell(i), PaletteGrid);
    }
    QTest::mouseClick(d->CloseButton(), Qt::LeftButton);
    testing::Settle();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(p.State().paused);
    EXPECT_FALSE(fs::exists(p.folder / "plumix.ini"));  // written only when the game ends
}

TEST(SettingsDialogGui, ColourListScrollBarsAndColoursFromSkin)
{
    Player p;
    SettingsDialog* d = p.Open();
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->ColorsFromSkinBox()->isChecked());
    EXPECT_FALSE(d->ColorBar(0)->isEnabled());

    // "Back" moves the bars to the back colour and changes no colour.
    d->ColorChoice()->setCurrentRow(1);
    EXPECT_EQ(Player::Bars(d), (std::array<int, 3>{26, 34, 70}));
    EXPECT_EQ(p.app.settings.textColor, StandardText);
    EXPECT_EQ(p.app.settings.backColor, StandardBack);
    d->ColorChoice()->setCurrentRow(0);

    // Unticked, the skin's colours stay in use and become editable.
    d->ColorsFromSkinBox()->click();
    EXPECT_EQ(p.app.settings.colorsFromSkin, SettingOff);
    EXPECT_TRUE(d->ColorBar(0)->isEnabled());
    EXPECT_EQ(p.app.settings.textColor, StandardText);
    // Each step of the red bar recolours the main window and this window.
    for (int red : {200, 150, 100}) {
        d->ColorBar(0)->setValue(red);
        const QColor expected(red, 214, 110);
        EXPECT_EQ(Player::Ink(p.window->ScoreLabel()), expected);
        EXPECT_EQ(p.window->MenuButton(0).CaptionColor(), expected);
        EXPECT_EQ(Player::Ink(d), expected);
        EXPECT_EQ(d->ColorNumber(0)->text(), QString::number(red));
    }
    // Ticked again, the skin's colours come back even after the edit.
    d->ColorsFromSkinBox()->click();
    EXPECT_EQ(p.app.settings.textColor, StandardText);
    EXPECT_EQ(Player::Ink(p.window->ScoreLabel()), Player::Color(StandardText));
    EXPECT_EQ(d->ColorNumber(0)->text(), "255");
    EXPECT_EQ(d->ColorBar(0)->value(), 100);  // the bars keep their place

    // Another skin with colours from skin: its colours; without: they stay.
    d->SkinList()->setCurrentIndex(d->SkinList()->findText("Neon Night"));
    EXPECT_EQ(p.app.settings.skinFile, "Neon.psk");
    EXPECT_EQ(p.app.settings.textColor, NeonText);
    EXPECT_EQ(Player::Ink(p.window->LevelLabel()), Player::Color(NeonText));
    EXPECT_EQ(Player::Bars(d), (std::array<int, 3>{96, 255, 224}));
    d->ColorsFromSkinBox()->click();
    d->SkinList()->setCurrentIndex(d->SkinList()->findText("Standard"));
    EXPECT_EQ(p.app.settings.textColor, NeonText);
    EXPECT_EQ(p.app.skinColors.text, StandardText);
}

TEST(SettingsDialogGui, AnotherLanguageRelabelsEverythingAndPutsTheListBackOnText)
{
    Player p;
    p.random->PushFigure(1);
    QTest::keyClick(p.window.get(), Qt::Key_F2);
    SettingsDialog* d = p.Open();
    ASSERT_NE(d, nullptr);
    d->ColorChoice()->setCurrentRow(1);
    // The paused game's status follows the language; nothing else touches it.
    d->LanguageList()->setCurrentIndex(2);
    EXPECT_EQ(p.window->StatusLabel()->text().toStdString(), TextOf(p.app.texts, TextPauseStatus));
    EXPECT_NE(p.window->StatusLabel()->text(), "PAUSE");
    d->LanguageList()->setCurrentIndex(1);
    EXPECT_EQ(p.app.settings.languageFile, "Deutsch.lag");
    EXPECT_EQ(d->Frame(0)->title(), "Sprache");
    EXPECT_EQ(d->ColorChoice()->currentRow(), 0);
    EXPECT_EQ(Player::Bars(d), (std::array<int, 3>{255, 214, 110}));
    EXPECT_EQ(p.window->MenuButton(0).Caption(), "Plumix spielen");
    EXPECT_EQ(p.window->MenuButton(2).Caption(), "Weiter");  // the game is paused
    EXPECT_EQ(p.window->StatusLabel()->text(), "PAUSE");
    d->LanguageList()->setCurrentIndex(0);
    EXPECT_EQ(p.app.settings.languageFile, "inside");
    EXPECT_EQ(p.window->MenuButton(0).Caption(), "New game Plumix");

    // A listed file gone when chosen: the language in use stays and the
    // entry leaves the list.
    fs::remove(p.folder / "Russian.lag");
    d->LanguageList()->setCurrentIndex(2);
    EXPECT_EQ(p.app.settings.languageFile, "inside");
    EXPECT_EQ(d->LanguageList()->currentIndex(), 0);
    EXPECT_EQ(d->LanguageList()->count(), 2);
    EXPECT_EQ(p.window->MenuButton(0).Caption(), "New game Plumix");
}

TEST(SettingsDialogGui, ASkinFileMissingAtStartStillGivesTheSettingsColours)
{
    testing::GuiPlayer p;
    p.app.settings.skinFile = "Gone.psk";
    p.app.settings.colorsFromSkin = SettingOff;
    p.app.settings.textColor = {1, 2, 3};
    p.window->LoadSkin();
    EXPECT_EQ(Player::Ink(p.window->ScoreLabel()), QColor(1, 2, 3));
    EXPECT_EQ(p.window->MenuButton(3).CaptionColor(), QColor(1, 2, 3));
}

TEST(SettingsDialogGui, InstalledASkinDroppedIntoThePlayersFolderIsOfferedAndLoads)
{
    testing::ScratchFolder tree;
    fs::create_directories(tree / "games");
    fs::create_directories(tree / "share");
    fs::copy(PLUMIX_ASSETS, tree / "share/plumix", fs::copy_options::recursive);
    const GameFolders folders = LocateGameFolders(tree / "games", (tree / "xdg").c_str(), nullptr);
    ASSERT_TRUE(folders.installed);
    // The player's own skin: the standard one's pictures, but a yellow block 3.
    fs::create_directories(folders.user / "Skins");
    fs::copy(tree / "share/plumix/Skins/Standart", folders.user / "Skins/Mine", fs::copy_options::recursive);
    testing::WriteFile(folders.user / "Skins/Mine.psk", "Mine\r\n1.4\r\nmy own\r\nSkins\\Mine\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
    QImage yellow(32, 32, QImage::Format_RGB32);
    yellow.fill(QColor(250, 240, 0));
    fs::remove(folders.user / "Skins/Mine/block3.gif");
    ASSERT_TRUE(yellow.save(QString::fromStdString((folders.user / "Skins/Mine/block3.gif").string()), "PNG"));

    testing::GuiPlayer p;
    p.app.folder = folders.user;
    p.app.dataFolders = folders.data;
    p.window->LoadSkin();
    SettingsDialog* d = Player::Open(p);
    ASSERT_NE(d, nullptr);
    QStringList skins;
    for (int i = 0; i < d->SkinList()->count(); ++i) {
        skins << d->SkinList()->itemText(i);
    }
    EXPECT_EQ(skins, (QStringList{"Mine", "Neon Night", "Standard"}));
    d->SkinList()->setCurrentIndex(0);
    EXPECT_EQ(p.app.settings.skinFile, "Mine.psk");
    EXPECT_EQ(p.window->Board().PalettePicture(3).toImage().pixelColor(16, 16), QColor(250, 240, 0));
    EXPECT_EQ(p.app.settings.textColor, (Rgb{1, 2, 3}));
    // Nothing was written into the installed data.
    EXPECT_FALSE(fs::exists(tree / "share/plumix/plumix.ini"));
}

} // namespace
} // namespace plumix
