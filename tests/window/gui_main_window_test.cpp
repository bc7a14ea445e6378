#include "engine/keys.h"
#include "support/fake_ports.h"
#include "window/board_widget.h"
#include "window/main_window.h"
#include "window/timers_qt.h"

#include <QImage>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace plumix {
namespace {

using testing::ScriptedRandom;

struct Window {
    AppState app;
    ScriptedRandom* random = nullptr;
    std::unique_ptr<MainWindow> window;

    explicit Window(std::uint8_t showGrid = 2)
    {
        FillDefaultTexts(app.texts);
        app.settings.showGrid = showGrid;
        auto scripted = std::make_unique<ScriptedRandom>();
        random = scripted.get();
        window = std::make_unique<MainWindow>(app, std::move(scripted));
        window->GetGame().ClearBoard();
        window->show();
    }
    QImage Shot() { return window->grab().toImage(); }
};

QRgb Centre(const QImage& image, QRect cell)
{
    return image.pixel(cell.topLeft() + QPoint(16, 16));
}

TEST(MainWindowGui, ShowsAnEmptyWellThenPaintsTheFallingFigureFromTheCellModel)
{
    Window w;
    EXPECT_EQ(w.window->size(), QSize(576, 700));
    EXPECT_TRUE(w.window->windowFlags() & Qt::FramelessWindowHint);
    BoardWidget& board = w.window->Board();
    for (int i = 0; i < BoardCellCount; ++i) {
        ASSERT_EQ(board.BoardCell(i), 0);
    }
    const QImage empty = w.Shot();

    w.random->PushFigure(5);  // vertical bar, colour 2
    w.random->PushFigure(1);
    w.window->GetGame().StartClassicGame();
    w.window->GetGame().OnTimer(TimerId::Figure);  // one row down: rows 0..3 of column 4
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(board.BoardCell(r * 10 + 4), 2);
    }
    const QImage shot = w.Shot();
    const QImage bar = board.PalettePicture(2).toImage();
    EXPECT_EQ(Centre(shot, BoardWidget::BoardCellRect(34)), bar.pixel(16, 16));
    EXPECT_EQ(Centre(shot, BoardWidget::BoardCellRect(35)), Centre(empty, BoardWidget::BoardCellRect(35)));
    // The preview shows the square in its box cells 5, 6, 9 and 10.
    EXPECT_EQ(board.PreviewCell(5), 1);
    EXPECT_EQ(Centre(shot, BoardWidget::PreviewCellRect(10)), board.PalettePicture(1).toImage().pixel(16, 16));

    QTest::keyClick(w.window.get(), Qt::Key_Left);
    EXPECT_EQ(board.BoardCell(4), 0);
    EXPECT_EQ(board.BoardCell(3), 2);
    EXPECT_EQ(w.window->ScoreLabel()->text(), "0");
    EXPECT_EQ(w.window->LevelLabel()->text(), "0");
}

TEST(MainWindowGui, GridSettingDecidesTheEmptyCellPicture)
{
    Window w(1);
    for (int i = 0; i < BoardCellCount; ++i) {
        ASSERT_EQ(w.window->Board().BoardCell(i), 10);
    }
    for (int i = 0; i < PreviewCellCount; ++i) {
        ASSERT_EQ(w.window->Board().PreviewCell(i), 10);
    }
    EXPECT_EQ(Centre(w.Shot(), BoardWidget::BoardCellRect(0)),
              w.window->Board().PalettePicture(10).toImage().pixel(16, 16));
}

TEST(MainWindowGui, NoTimerRunsWhileNoGameIsPlayed)
{
    Window w;
    EXPECT_TRUE(w.window->Timers().IsEnabled(TimerId::Figure));  // enabled at interval 0
    EXPECT_FALSE(w.window->Timers().AnyActive());
    // Keys before the first game neither start a timer nor draw figures.
    for (int key : {Qt::Key_Left, Qt::Key_Down, Qt::Key_Up, Qt::Key_A}) {
        QTest::keyClick(w.window.get(), static_cast<Qt::Key>(key));
    }
    EXPECT_FALSE(w.window->Timers().AnyActive());
    EXPECT_EQ(w.random->Draws(), 0);
}

} // namespace
} // namespace plumix
