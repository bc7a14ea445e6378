// Start-up with the shipped data: the splash texts in their order, the
// language and skin they name, and what missing or unwritable files leave.
#include "levels/levels_file.h"
#include "scores/records_file.h"
#include "support/gui_player.h"
#include "settings/settings_file.h"
#include "widgets/button.h"
#include "window/board_widget.h"
#include "widgets/dialogs.h"
#include "window/game_startup.h"

#include <QLabel>
#include <QPushButton>
#include <QTranslator>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace plumix {
namespace {

namespace fs = std::filesystem;

// The program over a folder with the shipped data, loaded as start-up loads it.
struct Started : testing::GuiPlayer {
    QStringList statuses;
    QStringList criticals;

    explicit Started(const std::function<void(const fs::path&)>& prepare = nullptr)
    {
        fs::copy(PLUMIX_ASSETS, folder.Path(), fs::copy_options::recursive);
        if (prepare) {
            prepare(folder.Path());
        }
        LoadEverything(app, *program, {[this](const QString& s) { statuses << s; }, nullptr, [this](std::string_view s) {
                                           criticals << QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
                                       }});
    }
    QRgb Block(int i) const { return window->Board().PalettePicture(i).toImage().pixel(16, 16); }
    QRgb File(const char* name) const
    {
        return QImage(QString::fromStdString((folder / name).string())).pixel(16, 16);
    }
};

// A first start (no settings file) over a damaged records file and the leftover of a killed save.
TEST(StartupGui, AFirstStartShowsItsStepsInEnglishTheStandardSkinAndReportsWhereADamagedRecordsFileIsKept)
{
    Started s([](const fs::path& folder) {
        RecordTables tables;
        tables.classic.At(1) = {"Ann", 900, 0, 0, 0, 0, "", "", 0};
        tables.classic.At(2) = {"Ben", 800, 0, 0, 0, 0, "", "", 0};
        tables.classic.At(3) = {"Cid", 700, 0, 0, 0, 0, "", "", 0};
        std::string plain = SerializeRecords(tables);
        plain.replace(plain.find(" 800 "), 5, "8O0");
        ScrambleRecordBytes(plain);
        testing::WriteFile(folder / "Records", plain);
        testing::WriteFile(folder / ".Records.4711", "half");
        fs::last_write_time(folder / ".Records.4711", fs::file_time_type::clock::now() - std::chrono::hours(1));
    });
    EXPECT_EQ(s.statuses, (QStringList{"Load options and language", "Load skin", "Load hi-scores table",
                                       "Load levels of Plumix 2"}));
    EXPECT_EQ(s.app.levels, ParseLevels(testing::FileBytes(s.folder / "Data/plumix2.bin")));
    EXPECT_EQ(s.window->MenuButton(0).Caption(), "New game Plumix");
    EXPECT_TRUE(s.window->MenuButton(2).toolTip().contains("Pause/resume game (Space)"));
    const Rgb text = s.app.settings.textColor;  // the skin's, not the default
    EXPECT_NE(text, Settings{}.textColor);
    EXPECT_EQ(s.window->MenuButton(3).CaptionColor(), QColor(text.red, text.green, text.blue));
    EXPECT_EQ(s.Block(3), s.File("Skins/Standart/block3.gif"));

    ASSERT_EQ(s.criticals.size(), 1);
    EXPECT_TRUE(s.criticals[0].contains(QString::fromStdString((s.folder / "Records.damaged").string())));
    EXPECT_EQ(s.app.records.classic.At(2).player, "Cid");
    EXPECT_FALSE(fs::exists(s.folder / ".Records.4711"));
}

TEST(StartupGui, ALaterStartShowsItsSettingsFromTheFirstStepAndMissingOrUnwritableFilesLeaveTheGameGoing)
{
    Started s([](const fs::path& folder) {
        Settings settings;
        settings.languageFile = "Russian.lag";
        settings.play.showGrid = 1;
        settings.skinFile = "Neon.psk";
        SaveSettings(folder / "plumix.ini", settings);
        fs::create_directory(folder / "Records");
        fs::remove(folder / "Skins/Standart/block5.gif");
    });
    ASSERT_EQ(s.statuses.size(), 4);
    EXPECT_EQ(s.statuses[1], QString::fromStdString(TextOf(s.app.texts, TextLoadSkin)));
    EXPECT_EQ(s.window->MenuButton(0).Caption(), QString::fromStdString(TextOf(s.app.texts, TextNewClassicButton)));
    EXPECT_EQ(s.window->Board().BoardCell(199), 10);
    EXPECT_EQ(s.window->Board().PreviewCell(15), 10);
    // The record file cannot be read: reported, and the game goes on.
    ASSERT_EQ(s.criticals.size(), 1);
    EXPECT_TRUE(s.criticals[0].endsWith(QString::fromUtf8("не будет загружена")));

    // A skin's missing picture keeps what the window showed before.
    const QRgb neonBlock = s.Block(5);
    s.app.settings.skinFile = "Standart.psk";
    s.LoadSkin();
    EXPECT_EQ(s.Block(5), neonBlock);
    EXPECT_EQ(s.Block(4), s.File("Skins/Standart/block4.gif"));
    // A missing skin keeps the colours; not from the skin, the settings' own show.
    const Rgb before = s.app.settings.textColor;
    s.app.settings.skinFile = "Nowhere.psk";
    s.LoadSkin();
    EXPECT_EQ(s.app.settings.textColor, before);
    s.app.settings.colorsFromSkin = false;
    s.app.settings.textColor = {1, 2, 3};
    s.LoadSkin();
    EXPECT_EQ(s.window->ScoreLabel()->palette().color(QPalette::WindowText), QColor(1, 2, 3));
    EXPECT_EQ(s.window->MenuButton(3).CaptionColor(), QColor(1, 2, 3));
}

TEST(StartupGui, MessageBoxesSpeakTheDesktopsLanguageAndLeaveRoomForTheirTitle)
{
    {
        QWidget owner;
        TextTable texts{};
        texts[TextNewGameTitle] = "Start a brand new game of Plumix from the very first row";
        FillDefaultTexts(texts);
        QtDialogs dialogs(&owner, texts);
        dialogs.Ask(Question::NewGame, [](bool) {});
        auto* box = owner.findChild<QMessageBox*>();
        ASSERT_NE(box, nullptr);
        // A window manager shows the title beside its own buttons.
        EXPECT_GT(box->sizeHint().width(),
                  box->fontMetrics().horizontalAdvance(QString::fromStdString(texts[TextNewGameTitle])) + 80);
    }
    const auto answers = [](const QLocale& locale) {
        QWidget owner;
        ASSERT_TRUE(InstallQtTranslations(*QCoreApplication::instance(), locale)) << "qt6-translations-l10n";
        TextTable texts{};
        FillDefaultTexts(texts);
        QtDialogs dialogs(&owner, texts);
        dialogs.Ask(Question::Quit, [](bool) {});
        auto* box = owner.findChild<QMessageBox*>();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->button(QMessageBox::Yes)->text().remove('&') + "/" +
                      box->button(QMessageBox::No)->text().remove('&'),
                  locale.language() == QLocale::German ? "Ja/Nein" : "Да/Нет");
        for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(t);
            delete t;
        }
    };
    answers(QLocale(QLocale::German, QLocale::Germany));
    answers(QLocale(QLocale::Russian, QLocale::Russia));
}

} // namespace
} // namespace plumix
