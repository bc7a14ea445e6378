// The hi-scores windows driven as a player would, through the real main window;
// the tables' rules are the headless tests'.
#include "scores/view/hiscores_window.h"
#include "scores/name_color.h"
#include "scores/view/record_entry_window.h"
#include "scores/records_file.h"
#include "support/gui_player.h"
#include "support/record_tables.h"

#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace plumix {
namespace {

const QColor Highlight(0, 0, 100);

struct Player : testing::GuiPlayer {
    QString Text(int row, HiScoresColumn column) const { return hiScores->Cell(row, column)->text(); }
    QColor Ink(int row) const { return hiScores->Cell(row, HiScoresColumn::Player)->palette().color(QPalette::WindowText); }
    QColor Back(int row) const { return hiScores->Cell(row, HiScoresColumn::Score)->palette().color(QPalette::Window); }
    RecordEntryWindow* Entry() const { return window->findChild<RecordEntryWindow*>(); }
};

TEST(HiScoresWindowGui, RowsInTheirPlayersColoursPlainTextTheHighlightScrollingTheLevelTableSynchronizingAndClosing)
{
    Player p;
    p.app.records = testing::FilledTables();
    const QString markup = "<img src=x> a & b, a < b and x<y>";
    p.app.records.classic.At(2).player = "<b>x</b>";
    p.app.records.classic.At(2).comment = markup.toStdString();
    p.hiScores->ShowWindow();
    EXPECT_TRUE(p.hiScores->isVisible() && p.hiScores->ClassicOption()->isChecked());
    for (int r = 0; r < HiScoresRows; ++r) {
        EXPECT_EQ(p.Text(r, HiScoresColumn::Number), " " + QString::number(r + 1));
        EXPECT_EQ(p.Ink(r), testing::ToQColor(NameColor(p.app.records.classic.At(r + 1).player)));
    }
    EXPECT_EQ(p.Text(1, HiScoresColumn::Player) + p.Text(1, HiScoresColumn::Comment), "<b>x</b>" + markup);
    EXPECT_EQ(p.hiScores->Cell(1, HiScoresColumn::Player)->textFormat(), Qt::PlainText);  // never markup
    QTextDocument tip;
    tip.setHtml(p.hiScores->Cell(1, HiScoresColumn::Comment)->toolTip());
    EXPECT_EQ(tip.toPlainText(), markup);

    // Only the row last touched by the mouse is highlighted, and stays so when the mouse leaves.
    testing::SendMouse(p.hiScores->Cell(3, HiScoresColumn::Player), QEvent::MouseMove, {5, 5});
    testing::SendMouse(p.hiScores->Cell(7, HiScoresColumn::Comment), QEvent::MouseMove, {200, 5});
    QEvent left(QEvent::Leave);
    QApplication::sendEvent(p.hiScores->Cell(7, HiScoresColumn::Comment), &left);
    testing::SendMouse(p.hiScores, QEvent::MouseMove, {400, 400});
    for (int r = 0; r < HiScoresRows; ++r) {
        EXPECT_EQ(p.Back(r), r == 7 ? Highlight : QColor(Qt::black)) << r;
    }
    // Painted at the right end of the row too, where no text is.
    EXPECT_EQ(p.hiScores->grab().toImage().pixelColor(780, 56 + 16 * 7 + 7), Highlight);

    QScrollBar* bar = p.hiScores->ScrollBar();
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(p.Text(0, HiScoresColumn::Number), " 26");
    EXPECT_EQ(p.Back(7), Highlight);
    EXPECT_EQ(p.Ink(7), testing::ToQColor(NameColor("c33")));
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(p.Text(0, HiScoresColumn::Number) + p.Text(19, HiScoresColumn::Number), " 81 100");
    bar->setSliderDown(true);  // every step of a drag repaints
    bar->setSliderPosition(40);
    EXPECT_EQ(p.Text(0, HiScoresColumn::Player), "c40");
    bar->setSliderDown(false);

    QTest::mouseClick(p.hiScores->LevelOption(), Qt::LeftButton, {}, {10, 13});
    ASSERT_TRUE(p.hiScores->LevelOption()->isChecked());
    EXPECT_EQ(p.Text(0, HiScoresColumn::Player), "l40");
    EXPECT_EQ(p.Text(0, HiScoresColumn::Lines1) + p.Text(0, HiScoresColumn::Level), "5");

    // A failure with the stop icon (no shared file yet), a success plainly.
    for (const auto& [text, icon] : {std::pair("Has error when synchronizing", QMessageBox::Critical),
                                     std::pair("Synchronizing passed successfully", QMessageBox::NoIcon)}) {
        p.hiScores->SyncButton()->click();
        QApplication::processEvents();
        QMessageBox* box = testing::Modal<QMessageBox>();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(std::pair(box->text(), box->icon()), std::pair(QString(text), icon));
        box->close();
        testing::WriteFile(p.app.sharedRecords, "");
    }

    // Enter and Esc close it over a paused game whatever has the focus, and never synchronize.
    p.hiScores->CloseButton()->click();
    p.random->PushFigure(1);
    p.Key(Qt::Key_F2);
    for (QWidget* focus : std::initializer_list<QWidget*>{p.hiScores->LevelOption(), p.hiScores->SyncButton(),
                                                         p.hiScores->ScrollBar(), p.hiScores->CloseButton()}) {
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            p.Key(Qt::Key_F5);
            ASSERT_TRUE(p.hiScores->isVisible());
            focus->setFocus();
            QTest::keyClick(focus, key);
            QApplication::processEvents();
            EXPECT_FALSE(p.hiScores->isVisible() || testing::Modal<QMessageBox>() != nullptr)
                << focus->metaObject()->className() << key;
        }
    }
    EXPECT_EQ(testing::FileBytes(p.app.sharedRecords), "");
    EXPECT_TRUE(p.State().paused);
}

TEST(RecordEntryGui, AClassicGameWithAPlaceEndsInTheEntryAndThenTheTable)
{
    Player p;
    p.LoseClassicGame(1500);
    RecordEntryWindow* entry = p.Entry();
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->isVisible());
    EXPECT_EQ(entry->Prompt()->text(), "Congratulations! You are 1th. Enter your name:");

    // The name takes its colour as it is typed; Esc cannot skip the entry.
    const auto nameInk = [&] { return entry->NameBox()->palette().color(QPalette::Text); };
    EXPECT_EQ(nameInk(), QColor(78, 124, 182));
    QTest::keyClicks(entry->NameBox(), "AB");
    EXPECT_EQ(nameInk(), testing::ToQColor(NameColor("AB")));
    QTest::keyClick(entry->NameBox(), Qt::Key_Escape);
    EXPECT_TRUE(entry->isVisible());
    QTest::keyClicks(entry->NameBox(), "<b>");
    QTest::keyClicks(entry->CommentBox(), "close one");
    QTest::keyClick(entry->CommentBox(), Qt::Key_Return);
    testing::Settle();
    const std::string today = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
    EXPECT_EQ(p.app.records.classic.At(1), (Record{"AB<b>", 1500, 0, 0, 0, 0, today, "close one", 1}));
    ASSERT_TRUE(p.hiScores->isVisible());
    EXPECT_EQ(p.Text(0, HiScoresColumn::Player), "AB<b>");
    QTest::mouseClick(p.hiScores->CloseButton(), Qt::LeftButton);

    // The next entry offers the name typed last; the close box stores it.
    p.LoseClassicGame(5000);
    ASSERT_NE(entry = p.Entry(), nullptr);
    EXPECT_EQ(entry->NameBox()->text(), "AB<b>");
    entry->close();
    testing::Settle();
    EXPECT_EQ(p.app.records.classic.At(1).player + p.app.records.classic.At(2).player, "AB<b>AB<b>");
    EXPECT_TRUE(p.hiScores->isVisible());

    // The system ends the game while an entry is open: it is written as typed.
    QTest::mouseClick(p.hiScores->CloseButton(), Qt::LeftButton);
    p.LoseClassicGame(7000);
    ASSERT_NE(entry = p.Entry(), nullptr);
    entry->NameBox()->setText("Zed");
    QSignalSpy ended(p.program.get(), &GameApp::Ended);
    p.program->EndWithoutAsking();
    EXPECT_EQ(ended.count(), 1);
    RecordTables saved;
    ASSERT_TRUE(LoadRecords(p.folder / "Records", saved).ok);
    EXPECT_EQ(saved.classic.At(1).player, "Zed");
}

} // namespace
} // namespace plumix
