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

using testing::FileBytes;
using testing::ScratchFolder;
using testing::WriteFile;

QColor Qt(Rgb c)
{
    return {c.red, c.green, c.blue};
}

// What a tooltip shows.
QString TipText(const QWidget* widget)
{
    QTextDocument tip;
    tip.setHtml(widget->toolTip());
    return tip.toPlainText();
}

// The mouse moving over a widget with no button held, sent straight to it:
// under offscreen, QTest::mouseMove does not reliably reach a child label.
void MoveOver(QWidget* widget, QPoint at)
{
    QMouseEvent event(QEvent::MouseMove, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

struct Table {
    ScratchFolder folder;
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
        owner.resize(576, 700);
        owner.show();
        window = new HiScoresWindow(settings, texts, records, folder / "Records", &owner);
        window->SetEndedMode([this] { return endedMode; });
        window->ShowWindow();
    }
    ~Table() { CloseBoxes(); }

    QString Text(int row, HiScoresColumn column) const { return window->Cell(row, column)->text(); }
    QColor Ink(int row) const { return window->Cell(row, HiScoresColumn::Player)->palette().color(QPalette::WindowText); }
    QColor Back(int row) const { return window->Cell(row, HiScoresColumn::Score)->palette().color(QPalette::Window); }

    // The message boxes the window has open over itself.
    std::vector<QMessageBox*> Boxes() const
    {
        std::vector<QMessageBox*> open;
        for (QMessageBox* box : window->findChildren<QMessageBox*>()) {
            if (box->isVisible()) {
                open.push_back(box);
            }
        }
        return open;
    }
    void CloseBoxes() const
    {
        for (QMessageBox* box : Boxes()) {
            box->close();
        }
    }
};

TEST(HiScoresWindowGui, OpensModalOnTheClassicTableWithPlaces1To20InTheirPlayersColours)
{
    Table t;
    t.records.classic.At(2).player = "c1";  // same player, same colour
    t.window->ShowWindow();
    EXPECT_TRUE(t.window->isVisible());
    EXPECT_EQ(t.window->windowModality(), Qt::WindowModal);
    EXPECT_EQ(t.window->size(), QSize(817, 419));
    EXPECT_EQ(t.window->windowTitle(), "Hi-scores table");
    EXPECT_TRUE(t.window->ClassicOption()->isChecked());
    EXPECT_EQ(t.window->ClassicOption()->text(), "Classic PLUMIX");
    EXPECT_EQ(TipText(t.window->SyncButton()), "For this second table place in ~/");
    EXPECT_EQ(t.window->Header(HiScoresColumn::Date)->text(), "Data");
    EXPECT_EQ(t.window->Header(HiScoresColumn::Lines1)->text(), "1");
    EXPECT_EQ(t.window->Cell(19, HiScoresColumn::Comment)->geometry(), QRect(520, 360, 265, 15));
    EXPECT_EQ(t.window->ScrollBar()->geometry(), QRect(792, 56, 17, 321));

    for (int r = 0; r < HiScoresRows; ++r) {
        EXPECT_EQ(t.Text(r, HiScoresColumn::Number), " " + QString::number(r + 1));
        EXPECT_EQ(t.Text(r, HiScoresColumn::Score), QString::number(2000 - r - 1));
        EXPECT_EQ(t.Ink(r), Qt(NameColor(t.records.classic.At(r + 1).player)));
        EXPECT_EQ(t.Back(r), QColor(Qt::black));
    }
    EXPECT_EQ(t.Ink(1), t.Ink(0));
    EXPECT_EQ(t.Text(4, HiScoresColumn::Lines1), "5");
    // The painted row shows its black back where no text is.
    const QImage shot = t.window->grab().toImage();
    EXPECT_EQ(shot.pixelColor(780, 56 + 16 * 3 + 7), QColor(Qt::black));

    // The level-mode table has no line counters.
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
    EXPECT_EQ(bar->minimum(), 1);
    EXPECT_EQ(bar->maximum(), 81);
    EXPECT_EQ(bar->singleStep(), 1);
    EXPECT_EQ(bar->pageStep(), 25);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(t.Text(0, HiScoresColumn::Number), " 26");
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(t.Text(0, HiScoresColumn::Number), " 81");
    EXPECT_EQ(t.Text(19, HiScoresColumn::Number), " 100");
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar->value(), 81);
    // Every step of a drag repaints.
    bar->setSliderDown(true);
    bar->setSliderPosition(40);
    EXPECT_EQ(t.Text(0, HiScoresColumn::Player), "c40");
    bar->setSliderDown(false);
    QTest::keyClick(bar, Qt::Key_Down);
    EXPECT_EQ(t.Text(0, HiScoresColumn::Number), " 41");

    QSignalSpy closed(t.window, &HiScoresWindow::CloseClicked);
    QTest::mouseClick(t.window->CloseButton(), Qt::LeftButton);
    EXPECT_FALSE(t.window->isVisible());
    EXPECT_EQ(closed.count(), 1);

    // Shown again after a level-mode game: that table, at the same places.
    t.endedMode = 2;
    t.window->ShowWindow();
    EXPECT_TRUE(t.window->LevelOption()->isChecked());
    EXPECT_EQ(t.Text(0, HiScoresColumn::Player), "l41");
    t.window->close();  // the close box hides too
    EXPECT_FALSE(t.window->isVisible());
    t.endedMode = 1;
    t.window->ShowWindow();
    EXPECT_TRUE(t.window->ClassicOption()->isChecked());
    EXPECT_EQ(t.Text(0, HiScoresColumn::Player), "c41");
    EXPECT_EQ(closed.count(), 1);

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
    EXPECT_EQ(t.window->HighlightedRow(), 3);
    MoveOver(t.window->Cell(7, HiScoresColumn::Comment), {200, 5});
    EXPECT_EQ(t.window->HighlightedRow(), 7);
    for (int r = 0; r < HiScoresRows; ++r) {
        EXPECT_EQ(t.Back(r), r == 7 ? QColor(0, 0, 100) : QColor(Qt::black)) << r;
    }
    const QImage shot = t.window->grab().toImage();
    EXPECT_EQ(shot.pixelColor(780, 56 + 16 * 7 + 7), QColor(0, 0, 100));
    EXPECT_EQ(shot.pixelColor(780, 56 + 16 * 3 + 7), QColor(Qt::black));
    // Leaving the rows keeps it; scrolling keeps it on the same row.
    MoveOver(t.window, {400, 400});
    t.window->ScrollBar()->setValue(10);
    EXPECT_EQ(t.Back(7), QColor(0, 0, 100));
    EXPECT_EQ(t.Ink(7), Qt(NameColor("c17")));
}

TEST(HiScoresWindowGui, NamesAndCommentsShowAsTypedNeverAsMarkup)
{
    Table t;
    t.records.classic.At(1).player = "<b>x</b>";
    t.records.classic.At(1).comment = "<img src=x> a & b, a < b and x<y>";
    t.window->ShowTable();
    QLabel* name = t.window->Cell(0, HiScoresColumn::Player);
    QLabel* comment = t.window->Cell(0, HiScoresColumn::Comment);
    EXPECT_EQ(name->textFormat(), Qt::PlainText);
    EXPECT_EQ(name->text(), "<b>x</b>");
    EXPECT_EQ(comment->textFormat(), Qt::PlainText);
    EXPECT_EQ(comment->text(), "<img src=x> a & b, a < b and x<y>");
    EXPECT_EQ(TipText(comment), "<img src=x> a & b, a < b and x<y>");
    EXPECT_TRUE(t.window->Cell(1, HiScoresColumn::Comment)->toolTip().isEmpty());
}

TEST(HiScoresWindowGui, SynchronizingReportsItsResultAndRepaintsOnlyOnSuccess)
{
    Table t;
    t.window->ScrollBar()->setValue(1);
    QPushButton* sync = t.window->SyncButton();
    EXPECT_EQ(sync->text(), "Synchronizing");

    QTest::mouseClick(sync, Qt::LeftButton);  // no shared file
    auto boxes = t.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0]->icon(), QMessageBox::Critical);
    EXPECT_EQ(boxes[0]->text(), "Has error when synchronizing");
    EXPECT_FALSE(std::filesystem::exists(t.folder / "Records"));
    t.CloseBoxes();

    RecordTables other;
    other.classic.At(1) = {"visitor", 9999, 1, 1, 1, 1, "d", "hello", 9};
    WriteFile(t.folder / "Records", RecordsToFileBytes(other));
    t.records.classic.At(1).player = "changed behind the window";
    QTest::mouseClick(sync, Qt::LeftButton);
    boxes = t.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0]->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(boxes[0]->text(), "Synchronizing passed successfully");
    EXPECT_EQ(t.Text(0, HiScoresColumn::Player), "visitor");
    EXPECT_EQ(t.Text(1, HiScoresColumn::Player), "changed behind the window");
    EXPECT_EQ(FileBytes(t.folder / "Records"), RecordsToFileBytes(t.records));
    t.CloseBoxes();

    // A file that is no record file: the message, and the rows stay as shown.
    WriteFile(t.folder / "Records", "not a record file");
    t.records.classic.At(1).player = "not shown yet";
    QTest::mouseClick(sync, Qt::LeftButton);
    boxes = t.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0]->icon(), QMessageBox::Critical);
    EXPECT_EQ(t.Text(0, HiScoresColumn::Player), "visitor");
    EXPECT_EQ(FileBytes(t.folder / "Records"), "not a record file");
}

} // namespace
} // namespace plumix
