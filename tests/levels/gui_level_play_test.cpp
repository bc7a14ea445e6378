// What only the windows show of a level-mode game: the level's window over the
// hidden field and counters, and a won level's bricks behind the About box.
#include "levels/view/level_intro_window.h"
#include "support/gui_player.h"
#include "window/board_widget.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace plumix {
namespace {

using testing::Modal;
using testing::Settle;

TEST(LevelPlayGui, ALevelsWindowHidesTheFieldAndAWonLevelsBricksFillTheBoardBehindTheAboutBox)
{
    testing::GuiPlayer p;
    for (std::size_t c = 0; c < BoardColumns; ++c) {
        p.app.levels[0].cells[c][19] = c == 4 ? 0 : CellBrick;
    }
    p.app.levels[0].quotas = {1, 0, 0, 0};
    p.app.levels[1].seconds = 5;
    p.random->PushFigure(1);
    p.random->PushFigure(1);
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

    // The bar fills the bricks' row: both tasks done.
    p.Key(Qt::Key_Down);
    p.TickUntil([&] { return p.Timers().IsEnabled(TimerId::Victory); });
    p.Tick(TimerId::Victory);
    p.Key(Qt::Key_F1);
    QWidget* about = Modal<QDialog>();
    ASSERT_NE(about, nullptr);
    for (int i = 0; i < 100; ++i) {
        for (int t = 0; t < TimerCount; ++t) {
            p.Tick(static_cast<TimerId>(t));
        }
    }
    EXPECT_EQ(Modal<QDialog>(), about);
    EXPECT_EQ(p.window->Board().BoardCell(199), PaletteBrick);
    QTest::keyClick(about, Qt::Key_Escape);
    Settle();
    intro = Modal<LevelIntroWindow>();
    ASSERT_NE(intro, nullptr);
    EXPECT_EQ(intro->TitleLabel()->text(), "Level: 1");
    QTest::mouseClick(intro->TasksLabel(), Qt::LeftButton);
    Settle();
    ASSERT_EQ(Modal<LevelIntroWindow>(), nullptr);
    // Started from behind a paused game, the level runs all the same.
    EXPECT_EQ(p.window->LimitLabel()->text() + "/" + p.window->StatusLabel()->text(), "5/");
    EXPECT_TRUE(p.Timers().IsEnabled(TimerId::Figure) && p.Timers().IsEnabled(TimerId::GameOnTime));
}

} // namespace
} // namespace plumix
