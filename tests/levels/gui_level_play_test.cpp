// A level-mode game played through the real main window: F3, the intro
// windows, a won brick level, a survived countdown, three lost lives and the
// level table's record entry.
#include "levels/level_intro_window.h"
#include "scores/record_entry_window.h"
#include "support/gui_player.h"
#include "window/board_widget.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace plumix {
namespace {

using testing::Settle;

struct Player : testing::GuiPlayer {
    LevelIntroWindow* Intro() { return qobject_cast<LevelIntroWindow*>(QApplication::activeModalWidget()); }
    void SetField(int level, int column, int fromRow, std::uint8_t value)
    {
        for (int r = fromRow; r < BoardRows; ++r) {
            app.levels[static_cast<std::size_t>(level)].cells[static_cast<std::size_t>(column)][static_cast<std::size_t>(r)] = value;
        }
    }
};

TEST(LevelPlayGui, FromF3ThroughThreeLevelsToTheLevelTablesRecordEntry)
{
    Player p;
    // Level 0: one brick row that a bar in column 4 completes.
    for (int c = 0; c < BoardColumns; ++c) {
        p.app.levels[0].cells[static_cast<std::size_t>(c)][19] = c == 4 ? 0 : CellBrick;
    }
    p.app.levels[0].quotas = {1, 0, 0, 0};
    // Level 1: survive two seconds, a bonus round.
    p.app.levels[1].seconds = 2;
    p.app.levels[1].bonus = 1;
    // Levels 2 to 5: the entry is stacked up, so each costs a life at once.
    for (int level = 2; level <= 5; ++level) {
        p.SetField(level, 4, 2, 5);
    }

    p.random->PushFigure(5);
    p.random->PushFigure(1);
    QTest::keyClick(p.window.get(), Qt::Key_F3);
    LevelIntroWindow* intro = p.Intro();
    ASSERT_NE(intro, nullptr);
    EXPECT_EQ(intro->windowTitle(), "Plumix 2");
    EXPECT_EQ(intro->TitleLabel()->text(), "Level: 0");
    EXPECT_EQ(intro->TasksLabel()->text(), "Lives: 3\nTask:\n     Destroy all bricks\n     Fulfill your quota");
    EXPECT_EQ(p.window->LevelLabel()->text(), "0");
    EXPECT_EQ(p.window->LinesLabel(0)->text(), "");
    EXPECT_EQ(p.window->Board().BoardCell(0), PaletteBrick);  // the field waits under bricks
    // A key still held from before repeats; it does not start the level.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(intro, &repeat);
    EXPECT_EQ(p.Intro(), intro);
    QTest::keyClick(intro, Qt::Key_A);
    Settle();
    EXPECT_EQ(p.Intro(), nullptr);
    EXPECT_EQ(p.window->Board().BoardCell(190), PaletteBrick);
    EXPECT_EQ(p.window->Board().BoardCell(0), EmptyCellPalette(p.app.settings));
    EXPECT_EQ(p.window->LinesLabel(0)->text(), "1");
    EXPECT_EQ(p.window->LimitLabel()->text(), "");

    QTest::keyClick(p.window.get(), Qt::Key_Down);
    p.TickUntil([&] { return p.window->Timers().IsEnabled(TimerId::Victory); });
    EXPECT_EQ(p.window->ScoreLabel()->text(), "27");
    EXPECT_EQ(p.window->LinesLabel(0)->text(), "0");
    p.TickUntil([] { return false; });  // the bricks fill the board, then level 1 shows
    intro = p.Intro();
    ASSERT_NE(intro, nullptr);
    EXPECT_EQ(intro->TitleLabel()->text(), "Level: 1");
    EXPECT_EQ(intro->TasksLabel()->text(), "Lives: 3\nTask:\n     Survive 2 seconds\nBonus round");
    QTest::mouseClick(intro->TasksLabel(), Qt::LeftButton);  // a click on a label starts it too
    Settle();
    ASSERT_EQ(p.Intro(), nullptr);
    EXPECT_EQ(p.window->LimitLabel()->text(), "2");
    // Paused, the countdown stands still.
    QTest::keyClick(p.window.get(), Qt::Key_Space);
    EXPECT_FALSE(p.Tick(TimerId::GameOnTime));
    QTest::keyClick(p.window.get(), Qt::Key_Space);
    EXPECT_TRUE(p.Tick(TimerId::GameOnTime));
    EXPECT_EQ(p.window->LimitLabel()->text(), "1");
    EXPECT_TRUE(p.Tick(TimerId::GameOnTime));
    EXPECT_EQ(p.window->LimitLabel()->text(), "");
    EXPECT_TRUE(p.window->Timers().IsEnabled(TimerId::Victory));
    p.TickUntil([] { return false; });
    ASSERT_NE(p.Intro(), nullptr);
    EXPECT_EQ(p.Intro()->TasksLabel()->text(), "Lives: 4\nTask:");

    // Four levels lost in a row: 4 lives, 3, 2, 1, then the game ends.
    for (int level = 2; level <= 5; ++level) {
        intro = p.Intro();
        ASSERT_NE(intro, nullptr) << level;
        EXPECT_EQ(intro->TitleLabel()->text(), "Level: " + QString::number(level));
        QTest::keyClick(intro, Qt::Key_Return);
        Settle();
        p.TickUntil([] { return false; });
    }
    auto* entry = qobject_cast<RecordEntryWindow*>(QApplication::activeModalWidget());
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(p.State().endedMode, GameModeLevels);
    QTest::keyClicks(entry->NameBox(), "Lena");
    QTest::keyClick(entry->NameBox(), Qt::Key_Return);
    Settle();
    EXPECT_EQ(p.app.records.level.At(1).player, "Lena");
    EXPECT_EQ(p.app.records.level.At(1).score, 27);
    EXPECT_EQ(p.app.records.level.At(1).level, 5);
    EXPECT_TRUE(p.app.records.classic.At(1).player.empty());
    EXPECT_TRUE(p.hiScores->isVisible());
    EXPECT_FALSE(p.window->Timers().AnyActive());
}

} // namespace
} // namespace plumix
