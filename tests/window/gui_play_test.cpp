// The real main window driven by keys and mouse as a player would, and its
// controls where the skins paint them.
#include "support/gui_player.h"
#include "widgets/button.h"
#include "window/board_widget.h"
#include "window/splash_window.h"

#include <QAbstractButton>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <filesystem>

namespace plumix {
namespace {

using testing::SendMouse;

struct Player : testing::GuiPlayer {
    BoardWidget& Board() { return window->Board(); }
    void Fill(int fromRow, int toRow, std::initializer_list<int> columns)
    {
        FieldCells field{};
        for (int r = fromRow; r <= toRow; ++r) {
            for (int c : columns) {
                field.at(static_cast<std::size_t>(c)).at(static_cast<std::size_t>(r)) = 4;
            }
        }
        GetGame().SetField(field);
    }
    static QMessageBox* Box() { return testing::Modal<QMessageBox>(); }
    static void Answer(QMessageBox::StandardButton which)
    {
        ASSERT_NE(Box(), nullptr);
        Box()->button(which)->click();
        QApplication::processEvents();
    }
};

TEST(PlayGui, AShortClassicGameFromTheMenuButtonToGameOver)
{
    Player p;
    for (int place = 1; place <= RecordPlaces; ++place) {
        p.app.records.classic.At(place).score = 5000;  // no place for this game
    }
    EXPECT_FALSE(p.Timers().AnyActive());  // nothing runs before a game
    p.random->PushFigure(5);  // a vertical bar, then an L
    p.random->PushFigure(13);
    QTest::mouseClick(&p.window->MenuButton(0), Qt::LeftButton);
    ASSERT_EQ(p.State().curFigure, 5);
    p.Fill(18, 19, {0, 1, 2, 3, 4, 5, 6, 7, 8});  // two rows wait for the bar in column 9
    p.Key(Qt::Key_Right);
    for (int i = 0; i < 6; ++i) {  // a held key repeats: each repeat is a key-down
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(p.window, &repeat);
    }
    p.Key(Qt::Key_Down);  // fast drop: one point a row
    p.TickUntil([&] { return !p.State().FigureActive(); });
    // The view paints the model: the bar's cell shows the bar's picture.
    const QImage shot = p.window->grab().toImage();
    const auto painted = [&](QRect cell) { return shot.pixel(cell.topLeft() + QPoint(16, 16)); };
    EXPECT_EQ(painted(BoardWidget::BoardCellRect(199)), p.Board().PalettePicture(2).toImage().pixel(16, 16));
    EXPECT_EQ(painted(BoardWidget::PreviewCellRect(6)), p.Board().PalettePicture(4).toImage().pixel(16, 16));

    p.TickUntil([&] { return p.State().FigureActive(); });
    EXPECT_EQ(p.window->ScoreLabel()->text() + "/" + p.window->LinesLabel(1)->text() + "/" + p.window->LevelLabel()->text(),
              "42/1/0");

    // Space on a focused control reaches the game.
    QTest::keyClick(&p.window->MenuButton(5), Qt::Key_Space);
    EXPECT_EQ(p.window->MenuButton(2).Caption(), "Resume");
    QTest::keyClick(&p.window->CloseButton(), Qt::Key_Space);
    EXPECT_EQ(p.window->StatusLabel()->text(), "");

    p.Fill(2, 17, {0, 5});  // the next figure cannot fall
    p.TickUntil([&] { return p.State().gameMode == GameMode::None; });
    ASSERT_NE(Player::Box(), nullptr);
    EXPECT_EQ(Player::Box()->text(), QString(9, ' ') + "G   A   M   E" + QString(7, ' ') + "O   V   E   R" + QString(9, ' '));
    EXPECT_FALSE(p.Timers().AnyActive());
}

// Dragging the background moves the window, but not from a cell or a label.
TEST(PlayGui, DraggingTheBackgroundMovesTheWindowAndTheCountdownReadsOverABlockOfItsOwnColour)
{
    Player p;
    p.window->move(100, 100);
    auto drag = [&](QWidget* from, QPoint at) {
        const QPoint start = p.window->pos();
        SendMouse(from, QEvent::MouseButtonPress, at, Qt::LeftButton);
        SendMouse(from, QEvent::MouseMove, at + QPoint(30, 20), Qt::LeftButton);
        SendMouse(from, QEvent::MouseButtonRelease, at + QPoint(30, 20));
        return p.window->pos() - start;
    };
    EXPECT_EQ(drag(&p.Board(), {100, 300}), QPoint(0, 0));  // a board cell
    EXPECT_EQ(drag(&p.Board(), {420, 100}), QPoint(0, 0));  // a preview cell
    EXPECT_EQ(drag(p.window->ScoreLabel(), {20, 10}), QPoint(0, 0));
    // Without a window manager to do it, the window follows the mouse itself.
    EXPECT_EQ(drag(&p.Board(), {200, 690}), QPoint(30, 20));
    p.app.settings.textColor = {250, 240, 0};
    p.app.settings.backColor = {10, 10, 40};
    p.window->ApplyColors(p.app.settings);
    QPixmap yellow(32, 32);
    yellow.fill(testing::ToQColor(p.app.settings.textColor));
    p.Board().SetPalettePicture(3, yellow);
    for (int i = 0; i < BoardCellCount; ++i) {
        p.Board().PaintBoardCell(i, 3);
    }
    const QRect limit = p.window->LimitLabel()->geometry();
    const auto shown = [&] { return p.window->grab(limit).toImage().convertToFormat(QImage::Format_RGB32); };
    const auto outlined = [&](const QImage& shot) {
        int count = 0;
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                count += shot.pixelColor(x, y) == testing::ToQColor(p.app.settings.backColor) ? 1 : 0;
            }
        }
        return count;
    };
    EXPECT_EQ(outlined(shown()), 0);
    p.app.levels[0].seconds = 30;
    p.GetGame().BeginLevelGame();
    p.GetGame().PlayLevel({p.app.levels[0].cells, 0, {}, 30, 0});
    for (int i = 0; i < BoardCellCount; ++i) {
        p.Board().PaintBoardCell(i, 3);
    }
    ASSERT_EQ(p.window->LimitLabel()->text(), "30");
    // The same place and size, and the outline in the back colour shows the number.
    EXPECT_EQ(limit, QRect(32, 48, 321, 33));
    EXPECT_GT(outlined(shown()), 100);
}

TEST(PlayGui, FocusLossPausesTheAboutBoxLeavesTheGamePausedAndQuitAsksNoLeavesItRunningYesEnds)
{
    Player p;
    p.Key(Qt::Key_F2);
    // A moment without focus, as when one of the game's windows closes, is no
    // loss: when the grace period ends the focus is back.
    p.window->ApplicationStateChanged(Qt::ApplicationInactive);
    p.window->ApplicationStateChanged(Qt::ApplicationActive);
    p.window->FocusLossLasted();
    EXPECT_FALSE(p.State().paused);
    p.window->ApplicationStateChanged(Qt::ApplicationInactive);
    p.window->FocusLossLasted();
    EXPECT_TRUE(p.State().paused);
    p.window->ApplicationStateChanged(Qt::ApplicationActive);
    p.Key(Qt::Key_Space);
    p.Key(Qt::Key_F1);
    QWidget* about = testing::Modal<QWidget>();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->findChild<QLabel*>("version")->text(), "Version 1.4.0");
    QTest::keyClick(about, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(p.window->StatusLabel()->text(), "PAUSE");

    // Quitting: what the files hold after Yes is the session's test; here the window's question and buttons.
    QSignalSpy ended(p.program.get(), &GameApp::Ended);
    p.Key(Qt::Key_Space);
    p.Tick(TimerId::Figure);
    p.Key(Qt::Key_Escape);
    ASSERT_NE(Player::Box(), nullptr);
    EXPECT_EQ(Player::Box()->windowTitle() + ": " + Player::Box()->text(), "Quit: Are you sure?");
    EXPECT_FALSE(p.Tick(TimerId::Figure));  // the game stands still behind the question
    Player::Answer(QMessageBox::No);
    EXPECT_EQ(ended.count(), 0);
    EXPECT_TRUE(p.Tick(TimerId::Figure));
    EXPECT_EQ(p.State().figY, 1);
    // A save that fails is told before the end, and the system ending the game ends it over that box.
    std::filesystem::remove(p.folder / "Records");
    std::filesystem::create_directory(p.folder / "Records");
    QTest::mouseClick(&p.window->CloseButton(), Qt::LeftButton);
    Player::Answer(QMessageBox::Yes);
    ASSERT_NE(Player::Box(), nullptr);
    EXPECT_EQ(std::pair(Player::Box()->icon(), ended.count()), std::pair(QMessageBox::Critical, qsizetype{0}));
    p.program->EndWithoutAsking();
    EXPECT_EQ(ended.count(), 1);
}

QRect Box(const QJsonValue& value)
{
    const QJsonArray a = value.toArray();
    return {a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt()};
}

// The skins' backgrounds are drawn by the picture script to its own copy of
// the layout: a control moved on one side only sits off its painted frame.
TEST(WindowLayout, TheControlsSitWhereTheSkinsPaintThem)
{
    QProcess script;
    script.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(PLUMIX_ASSETS "/../tools/window_layout.py")});
    ASSERT_TRUE(script.waitForFinished(20000));
    const QJsonObject drawn = QJsonDocument::fromJson(script.readAllStandardOutput()).object();
    ASSERT_FALSE(drawn.isEmpty()) << script.readAllStandardError().toStdString();

    MainWindow window;
    EXPECT_EQ(window.size(), QSize(drawn["window"][0].toInt(), drawn["window"][1].toInt()));
    const int cell = drawn["cell"].toInt();
    EXPECT_EQ(BoardWidget::BoardCellRect(0).size(), QSize(cell, cell));
    EXPECT_EQ(BoardWidget::BoardCellRect(0).united(BoardWidget::BoardCellRect(BoardCellCount - 1)), Box(drawn["well"]));
    EXPECT_EQ(BoardWidget::PreviewCellRect(0).united(BoardWidget::PreviewCellRect(PreviewCellCount - 1)), Box(drawn["preview"]));
    EXPECT_EQ(window.ScoreLabel()->geometry(), Box(drawn["score"]));
    EXPECT_EQ(window.LevelLabel()->geometry(), Box(drawn["level"]));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(window.LinesLabel(i)->geometry(), Box(drawn["lines"][i])) << i + 1 << " rows";
    }
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(window.MenuButton(k).geometry(), Box(drawn["menu"][k])) << "menu button " << k;
    }
    EXPECT_EQ(window.MinimizeButton().geometry(), Box(drawn["minimize"]));
    EXPECT_EQ(window.CloseButton().geometry(), Box(drawn["close"]));

    SplashWindow splash;
    EXPECT_EQ(splash.size(), QSize(drawn["splash"][0].toInt(), drawn["splash"][1].toInt()));
    splash.SetStatus(QStringLiteral("Loading"));
    const auto* status = splash.findChild<QLabel*>();
    ASSERT_NE(status, nullptr);
    EXPECT_GE(status->y(), drawn["splashStatusTop"].toInt());
}

} // namespace
} // namespace plumix
