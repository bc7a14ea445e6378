// A level-mode game played through the real main window: F3, the intro
// windows, a won brick level, lost lives and the level table's record entry.
#include "levels/view/level_intro_window.h"
#include "scores/view/record_entry_window.h"
#include "support/game_harness.h"
#include "support/gui_player.h"
#include "window/board_widget.h"

#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace plumix {
namespace {

using testing::Modal;
using testing::Settle;

// Level 0: one brick row that a bar in column 4 completes. Level 1: survive
// two seconds. Levels 2 to 5: the entry is stacked up, so each costs a life
// at once.
void LayOutLevels(testing::GuiPlayer& p)
{
    for (std::size_t c = 0; c < BoardColumns; ++c) {
        p.app.levels[0].cells[c][19] = c == 4 ? 0 : CellBrick;
    }
    p.app.levels[0].quotas = {1, 0, 0, 0};
    p.app.levels[1].seconds = 2;
    for (std::size_t level = 2; level <= 5; ++level) {
        p.app.levels[level].cells = testing::BlockedEntry();
    }
    p.random->PushFigure(5);
    p.random->PushFigure(1);
}

// F3 and a key on level 0's window.
void StartLevelZero(testing::GuiPlayer& p)
{
    p.Key(Qt::Key_F3);
    QTest::keyClick(Modal<LevelIntroWindow>(), Qt::Key_A);
    Settle();
}

// The bar dropped into the gap: the brick row goes, the bricks fill the board.
void WinLevelZero(testing::GuiPlayer& p)
{
    p.Key(Qt::Key_Down);
    p.TickUntil([] { return false; });
}

TEST(LevelPlayGui, TheFirstLevelsWindowHidesTheFieldAndWaitsForAFreshKey)
{
    testing::GuiPlayer p;
    LayOutLevels(p);
    p.Key(Qt::Key_F3);
    LevelIntroWindow* intro = Modal<LevelIntroWindow>();
    ASSERT_NE(intro, nullptr);
    EXPECT_EQ(intro->windowTitle() + ", " + intro->TitleLabel()->text(), "Plumix 2, Level: 0");
    EXPECT_EQ(intro->TasksLabel()->text(), "Lives: 3\nTask:\n     Destroy all bricks\n     Fulfill your quota");
    EXPECT_EQ(p.window->LevelLabel()->text() + "/" + p.window->LinesLabel(0)->text(), "0/");
    EXPECT_EQ(p.window->Board().BoardCell(0), PaletteBrick);  // the field waits under bricks
    // A key still held from before repeats; it does not start the level.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(intro, &repeat);
    EXPECT_EQ(Modal<LevelIntroWindow>(), intro);
    QTest::keyClick(intro, Qt::Key_A);
    Settle();
    EXPECT_EQ(Modal<LevelIntroWindow>(), nullptr);
    EXPECT_EQ(p.window->Board().BoardCell(190), PaletteBrick);
    EXPECT_EQ(p.window->Board().BoardCell(0), EmptyCellPalette(p.app.settings.play));
    EXPECT_EQ(p.window->LinesLabel(0)->text() + "/" + p.window->LimitLabel()->text(), "1/");
}

TEST(LevelPlayGui, AWonLevelFillsWithBricksAndAClickOnTheNextWindowStartsIt)
{
    testing::GuiPlayer p;
    LayOutLevels(p);
    StartLevelZero(p);
    p.Key(Qt::Key_Down);
    p.TickUntil([&] { return p.Timers().IsEnabled(TimerId::Victory); });
    EXPECT_EQ(p.window->ScoreLabel()->text() + "/" + p.window->LinesLabel(0)->text(), "27/0");
    p.TickUntil([] { return false; });  // the bricks fill the board, then level 1 shows
    LevelIntroWindow* intro = Modal<LevelIntroWindow>();
    ASSERT_NE(intro, nullptr);
    EXPECT_EQ(intro->TitleLabel()->text(), "Level: 1");
    QTest::mouseClick(intro->TasksLabel(), Qt::LeftButton);  // a click on a label starts it too
    Settle();
    ASSERT_EQ(Modal<LevelIntroWindow>(), nullptr);
    EXPECT_EQ(p.window->LimitLabel()->text(), "2");
}

TEST(LevelPlayGui, TheLastLifeLostEndsTheGameInTheLevelTablesEntry)
{
    testing::GuiPlayer p;
    LayOutLevels(p);
    p.app.levels[1].seconds = 0;  // won at its first lock, without a countdown
    StartLevelZero(p);
    WinLevelZero(p);
    for (int level = 1; level <= 4; ++level) {
        LevelIntroWindow* intro = Modal<LevelIntroWindow>();
        ASSERT_NE(intro, nullptr) << level;
        EXPECT_EQ(intro->TitleLabel()->text(), "Level: " + QString::number(level));
        QTest::keyClick(intro, Qt::Key_Return);
        Settle();
        if (level == 1) {
            p.Key(Qt::Key_Down);
        }
        p.TickUntil([] { return false; });
    }
    auto* entry = Modal<RecordEntryWindow>();
    ASSERT_NE(entry, nullptr);
    QTest::keyClicks(entry->NameBox(), "Lena");
    QTest::keyClick(entry->NameBox(), Qt::Key_Return);
    Settle();
    const Record& record = p.app.records.level.At(1);
    EXPECT_EQ(std::tuple(record.player, record.level), std::tuple("Lena", 4));
    EXPECT_TRUE(p.app.records.classic.At(1).player.empty());
    EXPECT_TRUE(p.hiScores->isVisible());
    EXPECT_FALSE(p.Timers().AnyActive());
}

TEST(LevelPlayGui, TheAboutBoxOpenedWhileTheBoardFillsHoldsTheNextLevelUntilItCloses)
{
    testing::GuiPlayer p;
    p.app.levels[1].seconds = 5;
    p.random->PushFigure(1);
    p.random->PushFigure(1);
    p.Key(Qt::Key_F3);
    QTest::keyClick(Modal<LevelIntroWindow>(), Qt::Key_A);  // level 0 has no task: won at the first lock
    Settle();
    p.Key(Qt::Key_Down);
    p.TickUntil([&] { return p.Timers().IsEnabled(TimerId::Victory); });
    p.Tick(TimerId::Victory);
    p.Key(Qt::Key_F1);
    QWidget* about = Modal<QDialog>();
    ASSERT_NE(about, nullptr);
    // The bricks fill the board behind the About box; nothing follows.
    for (int i = 0; i < 100; ++i) {
        for (int t = 0; t < TimerCount; ++t) {
            p.Tick(static_cast<TimerId>(t));
        }
    }
    EXPECT_EQ(Modal<QDialog>(), about);
    EXPECT_EQ(p.window->Board().BoardCell(199), PaletteBrick);
    QTest::keyClick(about, Qt::Key_Escape);
    Settle();
    LevelIntroWindow* intro = Modal<LevelIntroWindow>();
    ASSERT_NE(intro, nullptr);
    EXPECT_EQ(intro->TitleLabel()->text(), "Level: 1");
    QTest::keyClick(intro, Qt::Key_A);
    Settle();
    EXPECT_EQ(p.window->StatusLabel()->text(), "");
    EXPECT_TRUE(p.Timers().IsEnabled(TimerId::Figure) && p.Timers().IsEnabled(TimerId::GameOnTime));
}

} // namespace
} // namespace plumix
