// The real main window driven by keys and mouse as a player would.
#include "engine/keys.h"
#include "scores/records_file.h"
#include "settings/settings_file.h"
#include "support/fake_ports.h"
#include "widgets/button.h"
#include "window/board_widget.h"
#include "window/main_window.h"
#include "window/timers_qt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace plumix {
namespace {

using testing::ScriptedRandom;

struct Player {
    QTemporaryDir dir;
    AppState app;
    ScriptedRandom* random = nullptr;
    std::unique_ptr<MainWindow> window;

    Player()
    {
        FillDefaultTexts(app.texts);
        app.folder = dir.path().toStdString();
        auto scripted = std::make_unique<ScriptedRandom>();
        random = scripted.get();
        window = std::make_unique<MainWindow>(app, std::move(scripted));
        window->GetGame().ClearBoard();
        window->show();
    }
    ~Player() { CloseBoxes(); }

    const GameState& State() { return window->GetGame().State(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(window.get(), key, mods);
    }
    // One tick of a timer, as the event loop would deliver it if it runs.
    bool Tick(TimerId id)
    {
        if (!window->Timers().IsEnabled(id) || window->Timers().Interval(id) == 0) {
            return false;
        }
        window->GetGame().OnTimer(id);
        return true;
    }
    // Ticks whichever game timer runs until `done`.
    void TickUntil(const std::function<bool()>& done, int limit = 5000)
    {
        for (int i = 0; i < limit && !done(); ++i) {
            Tick(TimerId::CrashAni) || Tick(TimerId::Terminate) || Tick(TimerId::Figure);
        }
    }
    static std::vector<QMessageBox*> Boxes()
    {
        std::vector<QMessageBox*> boxes;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(w); box != nullptr && box->isVisible()) {
                boxes.push_back(box);
            }
        }
        return boxes;
    }
    static void Answer(QMessageBox::StandardButton which)
    {
        auto boxes = Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        boxes[0]->button(which)->click();
        QApplication::processEvents();
    }
    static void CloseBoxes()
    {
        for (QMessageBox* box : Boxes()) {
            box->close();
        }
        QApplication::processEvents();
    }
    void FillRow(int r, int hole)
    {
        for (int c = 0; c < BoardColumns; ++c) {
            window->GetGame().MutableBoard().Set(c, r, c == hole ? 0 : 4);
        }
        window->GetGame().RedrawBoard();
    }
};

void SendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(at), w->mapToGlobal(QPointF(at)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

TEST(PlayGui, AShortClassicGameFromF2ToGameOver)
{
    Player p;
    for (int place = 1; place <= RecordPlaces; ++place) {
        p.app.records.classic.At(place).score = 5000;  // no place for this game
    }
    p.random->PushFigure(5);  // a vertical bar first, then an L
    p.random->PushFigure(13);
    p.Key(Qt::Key_F2);
    ASSERT_EQ(p.State().gameMode, GameModeClassic);
    EXPECT_EQ(p.State().curFigure, 5);
    EXPECT_EQ(p.window->LevelLabel()->text(), "0");
    // Two rows wait for the bar in column 9.
    p.FillRow(19, 9);
    p.FillRow(18, 9);
    for (int i = 0; i < 7; ++i) {
        p.Key(Qt::Key_Right);
    }
    EXPECT_EQ(p.State().figX, 8);
    p.Key(Qt::Key_Down);  // fast drop: one point a row
    p.TickUntil([&] { return !p.State().figureActive; });
    EXPECT_EQ(p.window->ScoreLabel()->text(), "17");
    EXPECT_EQ(p.window->Board().BoardCell(199), 2);
    p.TickUntil([&] { return p.State().figureActive; });
    EXPECT_EQ(p.window->ScoreLabel()->text(), "42");
    EXPECT_EQ(p.window->LinesLabel(1)->text(), "1");
    EXPECT_EQ(p.window->LinesLabel(0)->text(), "0");
    // The two rows are gone; the bar's top half rests on the floor.
    EXPECT_EQ(p.window->Board().BoardCell(189), 2);
    EXPECT_EQ(p.window->Board().BoardCell(198), 0);
    EXPECT_EQ(p.window->Board().BoardCell(179), 0);
    EXPECT_EQ(p.State().curFigure, 13);

    // Space pauses with the big PAUSE; keys do nothing then; Space resumes.
    p.Key(Qt::Key_Space);
    EXPECT_EQ(p.window->StatusLabel()->text(), "PAUSE");
    EXPECT_EQ(p.window->MenuButton(2).Caption(), "Resume");
    p.Key(Qt::Key_Left);
    EXPECT_EQ(p.State().figX, 3);
    p.Key(Qt::Key_Space);
    EXPECT_EQ(p.window->StatusLabel()->text(), "");

    // Stack the well up to the entry: the next figure cannot fall.
    for (int r = 2; r < 18; ++r) {
        p.window->GetGame().MutableBoard().Set(0, r, 3);
        p.window->GetGame().MutableBoard().Set(5, r, 3);
    }
    p.TickUntil([&] { return p.window->Timers().IsEnabled(TimerId::CrashAni); });
    int crashTicks = 0;
    while (p.Tick(TimerId::CrashAni)) {
        ++crashTicks;
    }
    EXPECT_EQ(crashTicks, 100);
    EXPECT_EQ(p.State().gameMode, GameModeNone);
    auto boxes = Player::Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0]->text(), QString(9, ' ') + "G   A   M   E" + QString(7, ' ') + "O   V   E   R" + QString(9, ' '));
    EXPECT_EQ(boxes[0]->windowTitle(), "Plumix");
}

TEST(PlayGui, ButtonClicksOnlyWhenReleasedWhilePressed)
{
    Player p;
    Button& pause = p.window->MenuButton(2);
    QSignalSpy clicks(&pause, &PressButton::Click);
    SendMouse(&pause, QEvent::MouseButtonPress, {50, 9}, Qt::LeftButton);
    EXPECT_TRUE(pause.Pressed());
    SendMouse(&pause, QEvent::MouseMove, {200, 9}, Qt::LeftButton);
    EXPECT_FALSE(pause.Pressed());
    SendMouse(&pause, QEvent::MouseButtonRelease, {200, 9}, Qt::NoButton);
    EXPECT_EQ(clicks.count(), 0);

    // Off and back on, then released: one click.
    SendMouse(&pause, QEvent::MouseButtonPress, {50, 9}, Qt::LeftButton);
    SendMouse(&pause, QEvent::MouseMove, {50, 30}, Qt::LeftButton);
    SendMouse(&pause, QEvent::MouseMove, {50, 9}, Qt::LeftButton);
    EXPECT_TRUE(pause.Pressed());
    SendMouse(&pause, QEvent::MouseButtonRelease, {50, 9}, Qt::NoButton);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_FALSE(pause.Pressed());

    // The edge column counts as outside once the mouse moves there.
    SendMouse(&pause, QEvent::MouseButtonPress, {0, 9}, Qt::LeftButton);
    SendMouse(&pause, QEvent::MouseMove, {0, 9}, Qt::LeftButton);
    EXPECT_FALSE(pause.Pressed());
    SendMouse(&pause, QEvent::MouseButtonRelease, {0, 9}, Qt::NoButton);
    EXPECT_EQ(clicks.count(), 1);

    // A click on the first menu button starts a game.
    Button& start = p.window->MenuButton(0);
    p.random->PushFigure(1);
    QTest::mouseClick(&start, Qt::LeftButton);
    EXPECT_EQ(p.State().gameMode, GameModeClassic);
}

TEST(PlayGui, SpaceOnAFocusedButtonReachesTheGame)
{
    Player p;
    p.Key(Qt::Key_F2);
    Button& help = p.window->MenuButton(5);
    help.setFocus();
    QTest::keyClick(&help, Qt::Key_Space);
    EXPECT_TRUE(p.State().paused);
    QTest::keyClick(&p.window->CloseButton(), Qt::Key_Space);
    EXPECT_FALSE(p.State().paused);
    EXPECT_EQ(p.window->MenuButton(0).toolTip().contains("(F2)"), true);
}

TEST(PlayGui, FocusLossPausesAndTheAboutBoxLeavesTheGamePaused)
{
    Player p;
    p.window->ApplicationStateChanged(Qt::ApplicationInactive);
    QTest::qWait(100);
    EXPECT_FALSE(p.State().paused);  // no game, nothing to pause
    p.window->ApplicationStateChanged(Qt::ApplicationActive);
    p.Key(Qt::Key_F2);
    // A moment without focus, as when one of the game's windows closes, is no loss.
    p.window->ApplicationStateChanged(Qt::ApplicationInactive);
    p.window->ApplicationStateChanged(Qt::ApplicationActive);
    QTest::qWait(100);
    EXPECT_FALSE(p.State().paused);
    p.window->ApplicationStateChanged(Qt::ApplicationInactive);
    QTest::qWait(100);
    EXPECT_TRUE(p.State().paused);
    p.window->ApplicationStateChanged(Qt::ApplicationActive);
    p.Key(Qt::Key_Space);
    p.Key(Qt::Key_F1);
    EXPECT_TRUE(p.State().paused);
    QWidget* about = QApplication::activeModalWidget();
    ASSERT_NE(about, nullptr);
    EXPECT_NE(about->findChild<QLabel*>("version"), nullptr);
    EXPECT_EQ(about->findChild<QLabel*>("version")->text(), "Version 1.4.0");
    QTest::keyClick(about, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_TRUE(p.State().paused);
    EXPECT_EQ(p.window->StatusLabel()->text(), "PAUSE");
}

TEST(PlayGui, QuitAsksDuringAGameAndNoLeavesFilesAndGameAlone)
{
    Player p;
    QSignalSpy ended(p.window.get(), &MainWindow::Ended);
    p.random->PushFigure(5);
    p.Key(Qt::Key_F2);
    p.Tick(TimerId::Figure);
    const GameState before = p.State();
    const std::filesystem::path folder = p.app.folder;

    p.Key(Qt::Key_Escape);
    auto boxes = Player::Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0]->text(), "Are you sure?");
    EXPECT_EQ(boxes[0]->windowTitle(), "Quit");
    // The game stands still behind the question.
    EXPECT_FALSE(p.Tick(TimerId::Figure));
    Player::Answer(QMessageBox::No);
    EXPECT_EQ(ended.count(), 0);
    EXPECT_FALSE(std::filesystem::exists(folder / "plumix.ini"));
    EXPECT_FALSE(std::filesystem::exists(folder / "Records"));
    EXPECT_EQ(p.State().figY, before.figY);
    EXPECT_TRUE(p.Tick(TimerId::Figure));
    EXPECT_EQ(p.State().figY, before.figY + 1);

    // Yes through the close button: both files are written, then the end.
    p.app.records.classic.At(1).player = "Ann, the 1st";
    p.app.records.classic.At(1).score = 900;
    QTest::mouseClick(&p.window->CloseButton(), Qt::LeftButton);
    Player::Answer(QMessageBox::Yes);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_EQ(std::filesystem::file_size(folder / "plumix.ini"), SerializeSettings(p.app.settings).size());
    RecordTables back;
    ASSERT_EQ(LoadRecords(folder / "Records", back), RecordsFileResult::Ok);
    EXPECT_EQ(back.classic.At(1).player, "Ann, the 1st");
}

TEST(PlayGui, DraggingTheBackgroundMovesTheWindowButNotFromACellOrALabel)
{
    Player p;
    p.window->move(100, 100);
    auto drag = [&](QWidget* from, QPoint at) {
        const QPoint start = p.window->pos();
        SendMouse(from, QEvent::MouseButtonPress, at, Qt::LeftButton);
        SendMouse(from, QEvent::MouseMove, at + QPoint(30, 20), Qt::LeftButton);
        SendMouse(from, QEvent::MouseButtonRelease, at + QPoint(30, 20), Qt::NoButton);
        return p.window->pos() - start;
    };
    EXPECT_EQ(drag(&p.window->Board(), {100, 300}), QPoint(0, 0));  // a board cell
    EXPECT_EQ(drag(&p.window->Board(), {420, 100}), QPoint(0, 0));  // a preview cell
    EXPECT_EQ(drag(p.window->ScoreLabel(), {20, 10}), QPoint(0, 0));
    // Without a window manager to do it, the window follows the mouse itself.
    EXPECT_EQ(drag(&p.window->Board(), {200, 690}), QPoint(30, 20));
}

TEST(PlayGui, QuitWithoutAGameAsksNothing)
{
    Player p;
    QSignalSpy ended(p.window.get(), &MainWindow::Ended);
    p.Key(Qt::Key_F4, Qt::AltModifier);
    EXPECT_TRUE(Player::Boxes().empty());
    EXPECT_EQ(ended.count(), 1);
    EXPECT_EQ(std::filesystem::file_size(std::filesystem::path(p.app.folder) / "Records"), 5200u);
}

TEST(PlayGui, EveryKeyInEveryStateLeavesALockedFigureWhereItIs)
{
    Player p;
    const Qt::Key keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_A, Qt::Key_Return};
    auto pressAll = [&](const char* when) {
        const bool locked = !p.State().figureActive;
        const Board board = p.window->GetGame().GetBoard();
        const int x = p.State().figX;
        const int y = p.State().figY;
        for (Qt::Key key : keys) {
            p.Key(key);
            SendMouse(&p.window->Board(), QEvent::MouseMove, {100, 100}, Qt::NoButton);
        }
        if (locked) {
            EXPECT_EQ(p.window->GetGame().GetBoard(), board) << when;
            EXPECT_EQ(p.State().figX, x) << when;
            EXPECT_EQ(p.State().figY, y) << when;
        }
    };
    pressAll("before the first game");
    p.random->PushFigure(5);
    p.Key(Qt::Key_F2);
    p.FillRow(19, 4);
    p.TickUntil([&] { return !p.State().figureActive; });
    p.Tick(TimerId::Terminate);
    p.Tick(TimerId::Terminate);  // the row flashes
    pressAll("during the row flash");
    p.TickUntil([&] { return p.State().figureActive; });
    p.Key(Qt::Key_Space);
    pressAll("while paused");
    p.Key(Qt::Key_Space);
    for (int r = 2; r < 20; ++r) {
        p.window->GetGame().MutableBoard().Set(0, r, 3);
        p.window->GetGame().MutableBoard().Set(4, r, 3);
    }
    p.TickUntil([&] { return p.window->Timers().IsEnabled(TimerId::CrashAni); });
    p.Tick(TimerId::CrashAni);
    pressAll("during the crash");
    p.TickUntil([&] { return p.State().gameMode == GameModeNone; });
    pressAll("with the game-over message open");
    Player::CloseBoxes();
    pressAll("after game over");
}

} // namespace
} // namespace plumix
