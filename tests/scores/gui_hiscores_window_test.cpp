// The hi-scores window driven as a player would: rows, colours, scrolling,
// the highlight, plain-text names, synchronizing and closing.
#include "scores/hiscores_window.h"
#include "scores/name_color.h"
#include "scores/records_file.h"
#include "settings/scratch_folder.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace plumix {
namespace {

using testing::WriteFile;

const QColor Highlight(0, 0, 100);

struct Table {
    testing::ScratchFolder folder;
    Settings settings;
    TextTable texts{};
    RecordTables records;
    int endedMode = 0;
    QWidget owner;
    HiScoresWindow* window = nullptr;

    Table()
    {
        FillDefaultTexts(texts);
        for (int p = 1; p <= RecordPlaces; ++p) {
            records.classic.At(p) = {"c" + std::to_string(p), 2000 - p, p, 2, 3, 4, "d", "", 5};
            records.level.At(p) = {"l" + std::to_string(p), 900 - p, 0, 0, 0, 0, "d", "", 40};
        }
        owner.show();
        window = new HiScoresWindow(settings, texts, records, folder / "Records", &owner);
        window->SetEndedMode([this] { return endedMode; });
        window->ShowWindow();
    }
    ~Table() { CloseBoxes(); }

    QString Text(int row, HiScoresColumn column) const { return window->Cell(row, column)->text(); }
    QColor Ink(int row) const { return window->Cell(row, HiScoresColumn::Player)->palette().color(QPalette::WindowText); }
    QColor Back(int row) const { return window->Cell(row, HiScoresColumn::Score)->palette().color(QPalette::Window); }
    // The colour painted at the right end of a row, where no text is.
    QColor Painted(int row) const { return window->grab().toImage().pixelColor(780, 56 + 16 * row + 7); }

    // The one message box the window has open over itself.
    QMessageBox* Box() const
    {
        QMessageBox* open = nullptr;
        for (QMessageBox* box : window->findChildren<QMessageBox*>()) {
            if (box->isVisible()) {
                EXPECT_EQ(open, nullptr);
                open = box;
            }
        }
        return open;
    }
    void CloseBoxes() const
    {
        while (QMessageBox* box = Box()) {
            box->close();
        }
    }
};

QColor Color(Rgb c)
{
    return {c.red, c.green, c.blue};
}

// Sent straight to the widget: under offscreen, QTest::mouseMove does not
// reliably reach a child label.
void MoveOver(QWidget* widget, QPoint at)
{
    QMouseEvent event(QEvent::MouseMove, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

TEST(HiScoresWindowGui, OpensOnTheClassicTableWithPlaces1To20InTheirPlayersColours)
{
    Table t;
    t.records.classic.At(2).player = "c1";  // same player, same colour
    t.window->ShowWindow();
    EXPECT_TRUE(t.window->isVisible());
    EXPECT_EQ(t.window->windowModality(), Qt::WindowModal);
    EXPECT_TRUE(t.window->ClassicOption()->isChecked());
    QTextDocument tip;
    tip.setHtml(t.window->SyncButton()->toolTip());
    EXPECT_EQ(tip.toPlainText(), "For this second table place in ~/");
    for (int r = 0; r < HiScoresRows; ++r) {
        EXPECT_EQ(t.Text(r, HiScoresColumn::Number), " " + QString::number(r + 1));
        EXPECT_EQ(t.Ink(r), Color(NameColor(t.records.classic.At(r + 1).player)));
        EXPECT_EQ(t.Back(r), QColor(Qt::black));
    }
    EXPECT_EQ(t.Ink(1), t.Ink(0));
    EXPECT_EQ(t.Painted(3), QColor(Qt::black));

    QTest::mouseClick(t.window->LevelOption(), Qt::LeftButton, {}, {10, 13});
    ASSERT_TRUE(t.window->LevelOption()->isChecked());
    EXPECT_EQ(t.Text(0, HiScoresColumn::Player), "l1");
    EXPECT_EQ(t.Text(0, HiScoresColumn::Lines1), "");
    EXPECT_EQ(t.Text(0, HiScoresColumn::Lines4), "");
    EXPECT_EQ(t.Text(0, HiScoresColumn::Level), "40");
}

TEST(HiScoresWindowGui, ScrollingKeepsItsPlaceWhileTheTableFollowsTheEndedGame)
{
    Table t;
    QScrollBar* bar = t.window->ScrollBar();
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(t.Text(0, HiScoresColumn::Number), " 26");
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(t.Text(0, HiScoresColumn::Number), " 81");
    EXPECT_EQ(t.Text(19, HiScoresColumn::Number), " 100");
    bar->setSliderDown(true);  // every step of a drag repaints
    bar->setSliderPosition(40);
    EXPECT_EQ(t.Text(0, HiScoresColumn::Player), "c40");
    bar->setSliderDown(false);
    QTest::keyClick(bar, Qt::Key_Down);
    EXPECT_EQ(t.Text(0, HiScoresColumn::Number), " 41");

    QSignalSpy closed(t.window, &HiScoresWindow::CloseClicked);
    QTest::mouseClick(t.window->CloseButton(), Qt::LeftButton);
    EXPECT_FALSE(t.window->isVisible());
    t.endedMode = 2;
    t.window->ShowWindow();
    EXPECT_TRUE(t.window->LevelOption()->isChecked());
    EXPECT_EQ(t.Text(0, HiScoresColumn::Player), "l41");
    t.window->close();  // the close box only hides
    t.endedMode = 1;
    t.window->ShowWindow();
    EXPECT_EQ(t.Text(0, HiScoresColumn::Player), "c41");

    // Esc belongs to the Close button; elsewhere it leaves the window open.
    bar->setFocus();
    QTest::keyClick(bar, Qt::Key_Escape);
    EXPECT_TRUE(t.window->isVisible());
    t.window->CloseButton()->setFocus();
    QTest::keyClick(t.window->CloseButton(), Qt::Key_Escape);
    EXPECT_FALSE(t.window->isVisible());
    EXPECT_EQ(closed.count(), 2);
}

TEST(HiScoresWindowGui, OnlyTheRowLastTouchedByTheMouseIsHighlighted)
{
    Table t;
    MoveOver(t.window->Cell(3, HiScoresColumn::Player), {5, 5});
    MoveOver(t.window->Cell(7, HiScoresColumn::Comment), {200, 5});
    MoveOver(t.window, {400, 400});  // leaving the rows keeps it
    for (int r = 0; r < HiScoresRows; ++r) {
        EXPECT_EQ(t.Back(r), r == 7 ? Highlight : QColor(Qt::black)) << r;
    }
    EXPECT_EQ(t.Painted(7), Highlight);
    EXPECT_EQ(t.Painted(3), QColor(Qt::black));
    t.window->ScrollBar()->setValue(10);
    EXPECT_EQ(t.Back(7), Highlight);
    EXPECT_EQ(t.Ink(7), Color(NameColor("c17")));
}

TEST(HiScoresWindowGui, NamesAndCommentsShowAsTypedNeverAsMarkup)
{
    Table t;
    const QString comment = "<img src=x> a & b, a < b and x<y>";
    t.records.classic.At(1).player = "<b>x</b>";
    t.records.classic.At(1).comment = comment.toStdString();
    t.window->ShowTable();
    for (auto column : {HiScoresColumn::Player, HiScoresColumn::Comment}) {
        EXPECT_EQ(t.window->Cell(0, column)->textFormat(), Qt::PlainText);
    }
    EXPECT_EQ(t.Text(0, HiScoresColumn::Player), "<b>x</b>");
    EXPECT_EQ(t.Text(0, HiScoresColumn::Comment), comment);
    QTextDocument tip;
    tip.setHtml(t.window->Cell(0, HiScoresColumn::Comment)->toolTip());
    EXPECT_EQ(tip.toPlainText(), comment);
}

TEST(HiScoresWindowGui, SynchronizingReportsItsResultAndRepaintsOnlyOnSuccess)
{
    Table t;
    const auto shared = t.folder / "Records";
    QTest::mouseClick(t.window->SyncButton(), Qt::LeftButton);  // no shared file
    ASSERT_NE(t.Box(), nullptr);
    EXPECT_EQ(t.Box()->icon(), QMessageBox::Critical);
    EXPECT_EQ(t.Box()->text(), "Has error when synchronizing");
    t.CloseBoxes();

    RecordTables other;
    other.classic.At(1) = {"visitor", 9999, 1, 1, 1, 1, "d", "hello", 9};
    WriteFile(shared, RecordsToFileBytes(other));
    QTest::mouseClick(t.window->SyncButton(), Qt::LeftButton);
    ASSERT_NE(t.Box(), nullptr);
    EXPECT_EQ(t.Box()->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(t.Box()->text(), "Synchronizing passed successfully");
    EXPECT_EQ(t.Text(0, HiScoresColumn::Player), "visitor");
    t.CloseBoxes();

    WriteFile(shared, "not a record file");
    t.records.classic.At(1).player = "not shown yet";
    QTest::mouseClick(t.window->SyncButton(), Qt::LeftButton);
    ASSERT_NE(t.Box(), nullptr);
    EXPECT_EQ(t.Box()->icon(), QMessageBox::Critical);
    EXPECT_EQ(t.Text(0, HiScoresColumn::Player), "visitor");
}

} // namespace
} // namespace plumix
