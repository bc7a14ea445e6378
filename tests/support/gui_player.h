// The real main window, its files in a scratch folder, a scripted random
// sequence, and ticks delivered by hand. For the GUI tests only (Qt).
#pragma once

#include "scores/view/hiscores_window.h"
#include "support/game_harness.h"
#include "support/scratch_folder.h"
#include "window/game_app.h"
#include "window/main_window.h"
#include "window/timers.h"

#include <QApplication>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTest>

#include <functional>
#include <memory>

namespace plumix::testing {

struct GuiPlayer {
    ScratchFolder folder;
    AppState app;
    ScriptedRandom* random = nullptr;
    std::unique_ptr<GameApp> program;
    MainWindow* window = nullptr;
    HiScoresWindow* hiScores = nullptr;

    GuiPlayer()
    {
        FillDefaultTexts(app.texts);
        app.folders = {folder.Path(), {folder.Path()}, false};
        auto scripted = std::make_unique<ScriptedRandom>();
        random = scripted.get();
        app.sharedRecords = folder / "shared" / "Records";
        program = std::make_unique<GameApp>(app, std::move(scripted));
        window = &program->Window();
        hiScores = &program->HiScores();
        GetGame().RepaintCells();
        // Offscreen nothing gives the focus back when our window closes, and the
        // game would pause for another program's focus; a window manager gives it back.
        QObject::connect(qApp, &QGuiApplication::applicationStateChanged, window, [this](Qt::ApplicationState state) {
            if (state != Qt::ApplicationActive && QApplication::activeModalWidget() == nullptr) {
                window->activateWindow();
            }
        });
        window->show();
    }
    Game& GetGame() { return program->Session().GetGame(); }
    const GameState& State() { return GetGame().State(); }
    QtTimers& Timers() { return program->Timers(); }
    void LoadSkin() { program->LoadSkin(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(window, key, mods); }

    bool Tick(TimerId id)
    {
        const bool runs = Timers().IsEnabled(id) && Timers().Interval(id) > 0;
        if (runs) {
            GetGame().OnTimer(id);
        }
        return runs;
    }
    // Ticks, animations first (not in time order), until `done` or until a
    // window of ours waits for the player.
    void TickUntil(const std::function<bool()>& done)
    {
        for (int i = 0; i < 5000 && !done() && QApplication::activeModalWidget() == nullptr; ++i) {
            Tick(TimerId::CrashAni) || Tick(TimerId::Victory) || Tick(TimerId::Terminate) || Tick(TimerId::Figure) ||
                Tick(TimerId::GameOnTime);
        }
    }
    // A Classic game ended with `score` at its first figure.
    void LoseClassicGame(std::int64_t score)
    {
        random->PushFigure(Square);
        random->PushFigure(Square);
        GetGame().StartClassicGame();
        GetGame().SetField(BlockedEntry());
        GetGame().SetScore(score);
        TickUntil([this] { return State().gameMode == GameMode::None; });
    }
};

// The window of ours that waits for the player, if it is a T.
template <class T> T* Modal() { return qobject_cast<T*>(QApplication::activeModalWidget()); }

// A mouse event sent straight to a widget: offscreen, QTest's moves do not
// reliably reach a child widget.
inline void SendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons held = Qt::NoButton)
{
    QMouseEvent event(type, QPointF(at), w->mapToGlobal(QPointF(at)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

inline QColor ToQColor(Rgb c) { return {c.red, c.green, c.blue}; }

// Lets closed windows delete themselves, as the event loop would.
inline void Settle()
{
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace plumix::testing
