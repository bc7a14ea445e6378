// The settings window over the real main window, with the shipped language
// files and skins in the game's folder.
#include "settings/view/settings_dialog.h"
#include "support/gui_player.h"
#include "widgets/button.h"
#include "window/board_widget.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace plumix {
namespace {

namespace fs = std::filesystem;
using testing::ToQColor;

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
        app.skinColors = {StandardText, StandardBack};
        app.settings.textColor = StandardText;
        app.settings.backColor = StandardBack;
        LoadSkin();
    }
    static SettingsDialog* Open(testing::GuiPlayer& p)
    {
        p.Key(Qt::Key_F8);
        return testing::Modal<SettingsDialog>();
    }
    static QColor Ink(QWidget* w) { return w->palette().color(QPalette::WindowText); }
    static QStringList Items(QComboBox* list)
    {
        QStringList items;
        for (int i = 0; i < list->count(); ++i) {
            items << list->itemText(i);
        }
        return items;
    }
    static std::array<int, 3> Bars(SettingsDialog* d)
    {
        return {d->ColorBar(0)->value(), d->ColorBar(1)->value(), d->ColorBar(2)->value()};
    }
};

TEST(SettingsDialogGui, OverAGameShowsTheSettingsEachControlTakesEffectALanguageRetitlesAndCloseWritesNothing)
{
    Player p;
    Settings& s = p.app.settings;
    s.colorsFromSkin = false;
    s.textColor = {10, 20, 30};
    s.play.rotation = Rotation::Counterclockwise;
    s.play.showGrid = true;
    s.soundOn = false;
    s.skinFile = "Neon.psk";
    p.random->PushFigure(1);
    p.Key(Qt::Key_F2);
    SettingsDialog* d = Player::Open(p);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), "Game settings");
    EXPECT_EQ(Player::Items(d->LanguageList()), (QStringList{"English", "Deutsch", "Русский"}));
    EXPECT_EQ(d->SkinList()->currentText(), "Neon Night");
    EXPECT_FALSE(d->ColorsFromSkinBox()->isChecked());
    EXPECT_TRUE(d->ColorBar(0)->isEnabled());
    EXPECT_EQ(Player::Bars(d), (std::array<int, 3>{10, 20, 30}));
    EXPECT_EQ(d->ColorNumber(0)->text() + d->ColorNumber(1)->text() + d->ColorNumber(2)->text(), "102030");
    EXPECT_EQ((std::array{d->Counterclockwise()->isChecked(), d->GridBox()->isChecked(), d->SoundBox()->isChecked(),
                          d->MusicBox()->isChecked()}),
              (std::array{true, true, false, true}));
    // Filling the controls chose nothing.
    EXPECT_EQ(std::pair(s.textColor, s.skinFile), std::pair(Rgb{10, 20, 30}, std::string("Neon.psk")));

    // Each control changes its own setting, and the board behind shows it at once.
    d->GridBox()->click();
    EXPECT_EQ(p.window->Board().BoardCell(199), PalettePlainEmpty);
    d->GridBox()->click();
    EXPECT_EQ(p.window->Board().BoardCell(199), PaletteGrid);
    EXPECT_NE(p.window->Board().BoardCell(14), PaletteGrid);  // the falling square is drawn again
    for (QAbstractButton* option : std::initializer_list<QAbstractButton*>{
             d->Clockwise(), d->SoundBox(), d->MoveDuringFallBox(), d->NextBox()}) {
        option->click();
    }
    EXPECT_EQ(std::tuple(s.play.rotation, s.soundOn, s.play.moveDuringFall, s.play.showNext, s.musicOn),
              std::tuple(Rotation::Clockwise, true, false, false, true));
    EXPECT_EQ(p.window->Board().PreviewCell(0), PaletteGrid);
    EXPECT_EQ(p.window->Board().PreviewCell(PreviewCellCount - 1), PaletteGrid);

    // The colour list goes back on Text; the paused game's status follows.
    d->ColorChoice()->setCurrentRow(1);
    d->LanguageList()->setCurrentIndex(1);
    EXPECT_EQ(d->Frame(0)->title(), "Sprache");
    EXPECT_EQ(d->ColorChoice()->currentRow(), 0);
    EXPECT_EQ(Player::Bars(d), (std::array<int, 3>{10, 20, 30}));
    EXPECT_EQ(p.window->MenuButton(0).Caption() + "/" + p.window->MenuButton(2).Caption(), "Plumix spielen/Weiter");
    d->LanguageList()->setCurrentIndex(2);
    EXPECT_EQ(p.window->StatusLabel()->text().toStdString(), TextOf(p.app.texts, TextPauseStatus));
    d->LanguageList()->setCurrentIndex(0);
    fs::remove(p.folder / "Deutsch.lag");
    d->LanguageList()->setCurrentIndex(1);
    EXPECT_EQ(std::tuple(d->LanguageList()->currentIndex(), d->LanguageList()->count()), std::tuple(0, 2));
    EXPECT_EQ(p.window->MenuButton(0).Caption(), "New game Plumix");
    QTest::mouseClick(d->CloseButton(), Qt::LeftButton);
    testing::Settle();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(fs::exists(p.folder / "plumix.ini"));  // written only when the game ends
}

// Language texts show as typed, never as markup or shortcuts.
TEST(SettingsDialogGui, TextsShowAsTypedTheBarsLookDisabledUntilUntickedThenEditTheColourAndRecolourEveryWindow)
{
    Player p;
    for (std::string& text : p.app.texts) {
        if (!text.empty()) {
            text = "<b>" + text + "</b> a&b<y>";
        }
    }
    SettingsDialog* d = Player::Open(p);
    ASSERT_NE(d, nullptr);
    p.hiScores->ShowWindow();  // over the settings window: the texts of this moment
    for (const QWidget* window : std::initializer_list<const QWidget*>{d, p.hiScores}) {
        for (const QLabel* label : window->findChildren<QLabel*>()) {
            EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->text().toStdString();
        }
        // What the player reads: the '&' itself, and no shortcut under the letter after it.
        int fromTheTable = 0;
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (qobject_cast<QAbstractButton*>(w) == nullptr && qobject_cast<QGroupBox*>(w) == nullptr) {
                continue;
            }
            const QString shown = QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
            EXPECT_FALSE(shown.contains("ab<y>")) << shown.toStdString();
            fromTheTable += shown.startsWith("<b>") && shown.endsWith("</b> a&b<y>") ? 1 : 0;
        }
        EXPECT_EQ(fromTheTable, window == d ? 13 : 4);
    }
    p.hiScores->CloseButton()->click();
    const bool sound = d->SoundBox()->isChecked();
    QTest::keyClick(d, Qt::Key_B, Qt::AltModifier);
    EXPECT_EQ(d->SoundBox()->isChecked(), sound);

    // While the colours come from the skin the bars are disabled and look it.
    ASSERT_TRUE(d->ColorsFromSkinBox()->isChecked());
    EXPECT_FALSE(d->ColorBar(0)->isEnabled());
    // Qt's own drawing of the same bar, in the desktop's colours.
    QScrollBar* bar = d->ColorBar(1);
    auto reference = std::make_unique<QScrollBar>(Qt::Horizontal);
    reference->setRange(0, 255);
    reference->resize(bar->size());
    reference->setValue(bar->value());
    const auto look = [](QWidget* w) { return w->grab().toImage().convertToFormat(QImage::Format_RGB32); };
    reference->setEnabled(false);
    const QImage disabled = look(reference.get());
    EXPECT_TRUE(look(bar) == disabled);
    d->ColorChoice()->setCurrentRow(1);  // "Back" shows the back colour
    EXPECT_EQ(Player::Bars(d), (std::array<int, 3>{26, 34, 70}));
    d->ColorChoice()->setCurrentRow(0);
    d->ColorsFromSkinBox()->click();
    ASSERT_TRUE(d->ColorBar(0)->isEnabled());
    reference->setEnabled(true);
    EXPECT_TRUE(look(bar) == look(reference.get()));
    EXPECT_FALSE(look(bar) == disabled);
    d->ColorBar(0)->setValue(100);
    const QColor edited(100, 214, 110);
    EXPECT_EQ(Player::Ink(p.window->ScoreLabel()), edited);
    EXPECT_EQ(p.window->MenuButton(0).CaptionColor(), edited);
    EXPECT_EQ(Player::Ink(d), edited);
    EXPECT_EQ(d->ColorNumber(0)->text(), "100");
    // Ticked again: the skin's colours, the bars where they were.
    d->ColorsFromSkinBox()->click();
    EXPECT_EQ(Player::Ink(p.window->ScoreLabel()), ToQColor(StandardText));
    EXPECT_EQ(std::pair(d->ColorNumber(0)->text(), d->ColorBar(0)->value()), std::pair(QString("255"), 100));
    d->SkinList()->setCurrentIndex(d->SkinList()->findText("Neon Night"));
    EXPECT_EQ(Player::Ink(p.window->LevelLabel()), ToQColor(NeonText));
    EXPECT_EQ(Player::Bars(d), (std::array<int, 3>{96, 255, 224}));
}

// Whether a picture comes from the player's folder or the installed data is
// the scaled-screen test's; here the window offers and loads a skin there.
TEST(SettingsDialogGui, ASkinInThePlayersFolderBesideTheInstalledOnesIsOfferedAndLoads)
{
    testing::GuiPlayer p;
    p.app.folders.data.push_back(PLUMIX_ASSETS);
    const fs::path mine = p.folder / "Skins/Mine";
    fs::create_directories(mine);
    fs::copy(fs::path(PLUMIX_ASSETS) / "Skins/Standart", mine, fs::copy_options::recursive);
    testing::WriteFile(p.folder / "Skins/Mine.psk", "Mine\r\n1.4\r\nmy own\r\nSkins\\Mine\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
    QImage yellow(32, 32, QImage::Format_RGB32);
    yellow.fill(QColor(250, 240, 0));
    ASSERT_TRUE(yellow.save(QString::fromStdString((mine / "block4.gif").string()), "PNG"));
    SettingsDialog* d = Player::Open(p);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(Player::Items(d->SkinList()), (QStringList{"Mine", "Neon Night", "Standard"}));
    d->SkinList()->setCurrentIndex(0);
    EXPECT_EQ(p.app.settings.skinFile, "Mine.psk");
    EXPECT_EQ(p.window->Board().PalettePicture(4).toImage().pixelColor(16, 16), QColor(250, 240, 0));
    EXPECT_EQ(p.app.settings.textColor, (Rgb{1, 2, 3}));
}

} // namespace
} // namespace plumix
