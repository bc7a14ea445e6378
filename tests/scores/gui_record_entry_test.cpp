// The "New record!" window on its own, and a whole Classic game that earns a
// place: entry, table and hi-scores window as the player meets them.
#include "scores/hiscores_setup_window.h"
#include "scores/hiscores_window.h"
#include "scores/name_color.h"
#include "scores/record_entry_window.h"
#include "settings/scratch_folder.h"
#include "support/fake_ports.h"
#include "window/main_window.h"
#include "window/timers_qt.h"

#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace plumix {
namespace {

using testing::ScratchFolder;
using testing::ScriptedRandom;

struct Entry {
    Settings settings;
    TextTable texts{};
    QWidget owner;
    RecordEntryWindow* window = nullptr;
    std::unique_ptr<QSignalSpy> entered;

    explicit Entry(int place, const QString& lastName = {})
    {
        FillDefaultTexts(texts);
        owner.show();
        window = new RecordEntryWindow(settings, texts, place, lastName, &owner);
        entered = std::make_unique<QSignalSpy>(window, &RecordEntryWindow::Entered);
        window->open();
    }
    QColor NameInk() const { return window->NameBox()->palette().color(QPalette::Text); }
};

TEST(RecordEntryGui, AsksForTheNameInItsColourAndTheComment)
{
    Entry e(5, "Ann");
    EXPECT_EQ(e.window->windowTitle(), "New record!");
    EXPECT_EQ(e.window->size(), QSize(332, 163));
    EXPECT_EQ(e.window->Prompt()->text(), "Congratulations! You are 5th. Enter your name:");
    EXPECT_EQ(e.window->CommentPrompt()->text(), "Your comment about game:");
    EXPECT_EQ(e.window->NameBox()->geometry(), QRect(16, 40, 297, 15));
    EXPECT_EQ(e.window->OkButton()->geometry(), QRect(208, 120, 105, 25));
    EXPECT_EQ(e.window->NameBox()->text(), "Ann");
    EXPECT_EQ(e.window->CommentBox()->text(), "");
    EXPECT_EQ(e.NameInk(), QColor(78, 124, 182));
    EXPECT_EQ(e.window->NameBox()->palette().color(QPalette::Base), QColor(Qt::black));
    EXPECT_EQ(e.window->Prompt()->palette().color(QPalette::WindowText), QColor(200, 200, 200));

    e.window->NameBox()->clear();
    QTest::keyClicks(e.window->NameBox(), "A");
    EXPECT_EQ(e.NameInk(), QColor(65, 65, 255));
    QTest::keyClicks(e.window->NameBox(), "B");
    EXPECT_EQ(e.NameInk(), QColor(3, 131, 255));

    // Esc cannot leave the place unfilled; Enter in the comment box closes.
    QTest::keyClick(e.window->NameBox(), Qt::Key_Escape);
    EXPECT_TRUE(e.window->isVisible());
    QTest::keyClicks(e.window->CommentBox(), "<b>fast</b>");
    QTest::keyClick(e.window->CommentBox(), Qt::Key_Return);
    EXPECT_FALSE(e.window->isVisible());
    ASSERT_EQ(e.entered->count(), 1);
    EXPECT_EQ(e.entered->at(0).at(0).toString(), "AB");
    EXPECT_EQ(e.entered->at(0).at(1).toString(), "<b>fast</b>");
}

TEST(RecordEntryGui, EveryWayOfClosingHandsTheEntryOverOnce)
{
    {
        Entry e(1);
        QTest::keyClicks(e.window->NameBox(), "Zed");
        QTest::keyClick(e.window->NameBox(), Qt::Key_Return);
        EXPECT_EQ(e.entered->count(), 1);
    }
    {
        Entry e(1);
        QTest::mouseClick(e.window->OkButton(), Qt::LeftButton);
        EXPECT_EQ(e.entered->count(), 1);
        e.window->close();
        EXPECT_EQ(e.entered->count(), 1);
    }
    {
        Entry e(1, "Kay");
        e.window->close();  // the close box
        ASSERT_EQ(e.entered->count(), 1);
        EXPECT_EQ(e.entered->at(0).at(0).toString(), "Kay");
    }
}

// A main window with the hi-scores windows plugged in, driven tick by tick.
struct Game {
    ScratchFolder folder;
    AppState app;
    ScriptedRandom* random = nullptr;
    std::unique_ptr<MainWindow> window;
    HiScoresWindow* hiScores = nullptr;

    // The closed entry window deletes itself once control is back in the
    // event loop, which a test has to stand in for.
    static void Settle()
    {
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    Game()
    {
        FillDefaultTexts(app.texts);
        app.folder = folder.Path();
        auto scripted = std::make_unique<ScriptedRandom>();
        random = scripted.get();
        window = std::make_unique<MainWindow>(app, std::move(scripted));
        hiScores = ConnectHiScores(*window, app, folder / "shared" / "Records");
        window->GetGame().ClearBoard();
        window->show();
    }

    bool Tick(TimerId id)
    {
        if (!window->Timers().IsEnabled(id) || window->Timers().Interval(id) == 0) {
            return false;
        }
        window->GetGame().OnTimer(id);
        return true;
    }

    // A Classic game whose second figure finds the well stacked to the top.
    RecordEntryWindow* PlayUntilEntry(std::int64_t score)
    {
        random->PushFigure(1);
        random->PushFigure(1);
        window->GetGame().StartClassicGame();
        for (int r = 2; r < BoardRows; ++r) {
            window->GetGame().MutableBoard().Set(4, r, 3);
        }
        window->GetGame().SetScore(score);
        for (int i = 0; i < 5000 && window->GetGame().State().gameMode != GameModeNone; ++i) {
            Tick(TimerId::CrashAni) || Tick(TimerId::Terminate) || Tick(TimerId::Figure);
        }
        return window->findChild<RecordEntryWindow*>();
    }
};

TEST(RecordEntryGui, AClassicGameWithAPlaceEndsInTheEntryAndThenTheTable)
{
    Game g;
    for (int p = 1; p <= 3; ++p) {
        g.app.records.classic.At(p) = {"old" + std::to_string(p), 3000 - 1000 * p, 1, 1, 1, 1, "d", "", 1};
    }
    RecordEntryWindow* entry = g.PlayUntilEntry(1500);
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->isVisible());
    EXPECT_EQ(entry->windowModality(), Qt::WindowModal);
    EXPECT_EQ(entry->Prompt()->text(), "Congratulations! You are 2th. Enter your name:");
    EXPECT_EQ(entry->NameBox()->text(), "");
    EXPECT_FALSE(g.hiScores->isVisible());

    QTest::keyClicks(entry->NameBox(), "<b>Zed</b>");
    QTest::keyClicks(entry->CommentBox(), "close one");
    QTest::keyClick(entry->NameBox(), Qt::Key_Return);
    Game::Settle();
    EXPECT_EQ(g.window->findChild<RecordEntryWindow*>(), nullptr);

    const Record& mine = g.app.records.classic.At(2);
    const std::string today = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
    EXPECT_EQ(mine, (Record{"<b>Zed</b>", 1500, 0, 0, 0, 0, today, "close one", 1}));
    EXPECT_EQ(g.app.records.classic.At(3).player, "old2");
    EXPECT_EQ(g.app.records.classic.At(4).player, "old3");
    // Nothing reaches a file before the program ends.
    EXPECT_FALSE(std::filesystem::exists(g.folder / "Records"));

    ASSERT_TRUE(g.hiScores->isVisible());
    EXPECT_TRUE(g.hiScores->ClassicOption()->isChecked());
    EXPECT_EQ(g.hiScores->Cell(1, HiScoresColumn::Player)->text(), "<b>Zed</b>");
    EXPECT_EQ(g.hiScores->Cell(1, HiScoresColumn::Score)->text(), "1500");
    EXPECT_EQ(g.hiScores->Cell(1, HiScoresColumn::Player)->palette().color(QPalette::WindowText),
              QColor(NameColor("<b>Zed</b>").red, NameColor("<b>Zed</b>").green, 255));
    QTest::mouseClick(g.hiScores->CloseButton(), Qt::LeftButton);
    EXPECT_FALSE(g.hiScores->isVisible());

    // The next entry of the run offers the name typed last.
    entry = g.PlayUntilEntry(5000);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->Prompt()->text(), "Congratulations! You are 1th. Enter your name:");
    EXPECT_EQ(entry->NameBox()->text(), "<b>Zed</b>");
    entry->close();
    Game::Settle();
    EXPECT_EQ(g.app.records.classic.At(1).player, "<b>Zed</b>");
    EXPECT_EQ(g.app.records.classic.At(1).score, 5000);
    EXPECT_EQ(g.app.records.classic.At(1).level, 5);
    EXPECT_TRUE(g.hiScores->isVisible());

    // The menu's hi-scores key opens the same window.
    g.hiScores->hide();
    QTest::keyClick(g.window.get(), Qt::Key_F5);
    EXPECT_TRUE(g.hiScores->isVisible());
}

} // namespace
} // namespace plumix
