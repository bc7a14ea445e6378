// A Classic game that earns a place, played through the real main window:
// the "New record!" window, the filled table and the hi-scores window.
#include "scores/hiscores_setup_window.h"
#include "scores/hiscores_window.h"
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
#include <QTest>
#include <gtest/gtest.h>

namespace plumix {
namespace {

struct Player {
    testing::ScratchFolder folder;
    AppState app;
    testing::ScriptedRandom* random = nullptr;
    std::unique_ptr<MainWindow> window;
    HiScoresWindow* hiScores = nullptr;

    Player()
    {
        FillDefaultTexts(app.texts);
        app.folder = folder.Path();
        auto scripted = std::make_unique<testing::ScriptedRandom>();
        random = scripted.get();
        window = std::make_unique<MainWindow>(app, std::move(scripted));
        hiScores = ConnectHiScores(*window, app, folder / "shared" / "Records");
        window->show();
    }

    bool Tick(TimerId id)
    {
        const bool runs = window->Timers().IsEnabled(id) && window->Timers().Interval(id) > 0;
        if (runs) {
            window->GetGame().OnTimer(id);
        }
        return runs;
    }

    // A Classic game whose second figure finds the well stacked to the top.
    RecordEntryWindow* PlayUntilEntry(std::int64_t score)
    {
        random->PushFigure(1);
        random->PushFigure(1);
        Game& game = window->GetGame();
        game.StartClassicGame();
        for (int r = 2; r < BoardRows; ++r) {
            game.MutableBoard().Set(4, r, 3);
        }
        game.SetScore(score);
        for (int i = 0; i < 5000 && game.State().gameMode != GameModeNone; ++i) {
            Tick(TimerId::CrashAni) || Tick(TimerId::Terminate) || Tick(TimerId::Figure);
        }
        return window->findChild<RecordEntryWindow*>();
    }

    // The closed entry window deletes itself once control is back in the
    // event loop, which a test has to stand in for.
    static void Settle()
    {
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

QColor NameInk(RecordEntryWindow* entry)
{
    return entry->NameBox()->palette().color(QPalette::Text);
}

TEST(RecordEntryGui, AClassicGameWithAPlaceEndsInTheEntryAndThenTheTable)
{
    Player p;
    for (int place = 1; place <= 3; ++place) {
        p.app.records.classic.At(place) = {"old" + std::to_string(place), 3000 - 1000 * place, 1, 1, 1, 1, "d", "", 1};
    }
    RecordEntryWindow* entry = p.PlayUntilEntry(1500);
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->isVisible());
    EXPECT_EQ(entry->windowModality(), Qt::WindowModal);
    EXPECT_EQ(entry->Prompt()->text(), "Congratulations! You are 2th. Enter your name:");
    EXPECT_EQ(entry->NameBox()->text(), "");
    EXPECT_EQ(NameInk(entry), QColor(78, 124, 182));

    // The name takes its colour as it is typed; Esc cannot skip the entry.
    QTest::keyClicks(entry->NameBox(), "A");
    EXPECT_EQ(NameInk(entry), QColor(65, 65, 255));
    QTest::keyClicks(entry->NameBox(), "B");
    EXPECT_EQ(NameInk(entry), QColor(3, 131, 255));
    QTest::keyClick(entry->NameBox(), Qt::Key_Escape);
    EXPECT_TRUE(entry->isVisible());
    QTest::keyClicks(entry->NameBox(), "<b>");
    QTest::keyClicks(entry->CommentBox(), "close one");
    QTest::keyClick(entry->CommentBox(), Qt::Key_Return);
    Player::Settle();
    EXPECT_EQ(p.window->findChild<RecordEntryWindow*>(), nullptr);

    const std::string today = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
    EXPECT_EQ(p.app.records.classic.At(2), (Record{"AB<b>", 1500, 0, 0, 0, 0, today, "close one", 1}));
    EXPECT_EQ(p.app.records.classic.At(3).player, "old2");
    EXPECT_FALSE(std::filesystem::exists(p.folder / "Records"));  // saved only when the program ends

    ASSERT_TRUE(p.hiScores->isVisible());
    EXPECT_TRUE(p.hiScores->ClassicOption()->isChecked());
    EXPECT_EQ(p.hiScores->Cell(1, HiScoresColumn::Player)->text(), "AB<b>");
    QTest::mouseClick(p.hiScores->CloseButton(), Qt::LeftButton);

    // The next entry offers the name typed last; the close box stores it.
    entry = p.PlayUntilEntry(5000);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->NameBox()->text(), "AB<b>");
    entry->close();
    Player::Settle();
    EXPECT_EQ(p.app.records.classic.At(1).player, "AB<b>");
    EXPECT_EQ(p.app.records.classic.At(1).level, 5);
    EXPECT_EQ(p.app.records.classic.At(2).player, "old1");
    EXPECT_EQ(p.app.records.classic.At(3).player, "AB<b>");
    EXPECT_TRUE(p.hiScores->isVisible());

    p.hiScores->hide();
    QTest::keyClick(p.window.get(), Qt::Key_F5);
    EXPECT_TRUE(p.hiScores->isVisible());
}

} // namespace
} // namespace plumix
