// SDL's virtual pad through the pad code and the real windows; offscreen
// nothing wakes the pad code for a virtual pad, so the tests pump it.
#include "levels/view/level_intro_window.h"
#include "pad/view/pad_input.h"
#include "scores/view/record_entry_window.h"
#include "settings/view/settings_dialog.h"
#include "support/gui_player.h"

#include <QCheckBox>
#include <QLabel>
#include <QScrollBar>
#include <QTimer>

#define SDL_MAIN_HANDLED
#include <SDL.h>
#include <gtest/gtest.h>

namespace plumix {
namespace {

using testing::Modal;

struct PadPlayer : testing::GuiPlayer {
    SDL_Joystick* pad = nullptr;

    PadPlayer()
    {
        QApplication::setActiveWindow(window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        program->StartPads({80, 20});
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        pad = SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&desc));
        Pads().Pump();
    }
    ~PadPlayer() { Unplug(); }
    PadInput& Pads() { return *program->Pads(); }
    void Set(SDL_GameControllerButton button, bool down)
    {
        // Offscreen no window manager gives the focus back when a window closes.
        if (QApplication::activeWindow() == nullptr) {
            QWidget* modal = QApplication::activeModalWidget();
            QApplication::setActiveWindow(modal != nullptr ? modal : window);
            QApplication::processEvents();
        }
        SDL_JoystickSetVirtualButton(pad, button, down ? 1 : 0);
        Pads().Pump();
    }
    void Press(SDL_GameControllerButton button)
    {
        Set(button, true);
        Set(button, false);
        QApplication::processEvents();
    }
    void Unplug()
    {
        if (pad != nullptr) {
            SDL_JoystickClose(std::exchange(pad, nullptr));
            SDL_JoystickDetachVirtual(0);  // the only one there is
            Pads().Pump();
        }
    }
    // The widget the D-pad moved the focus to, once it is a T.
    template <class T> T* FocusDown()
    {
        for (int i = 0; i < 30 && qobject_cast<T*>(PadTarget()) == nullptr; ++i) {
            Press(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
        }
        return qobject_cast<T*>(PadTarget());
    }
};

TEST(PadGui, NoPadNoWakeups)
{
    testing::GuiPlayer p;
    p.program->StartPads({80, 20});
    ASSERT_TRUE(p.program->Pads()->Started());
    QTest::qWait(300);
    EXPECT_EQ(p.program->Pads()->Pumps(), 1);  // the start's own look for pads
    for (const QTimer* timer : p.program->Pads()->findChildren<QTimer*>()) {
        EXPECT_FALSE(timer->isActive());
    }
}

TEST(PadGui, AGameWithThePadTheHeldSideRepeatsTheStickMovesAndUnpluggingPauses)
{
    PadPlayer p;
    ASSERT_EQ(p.Pads().ConnectedPads(), 1);
    p.random->PushFigure(13);
    p.Press(SDL_CONTROLLER_BUTTON_X);  // F2
    ASSERT_EQ(p.State().gameMode, GameMode::Classic);
    p.Press(SDL_CONTROLLER_BUTTON_A);
    EXPECT_NE(p.State().curFigure, 13);
    const int x = p.State().figX;
    p.Press(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    EXPECT_EQ(p.State().figX, x - 1);

    p.Set(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    QTest::qWait(150);  // the first repeat after 80 ms, then one each 20 ms
    p.Set(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);
    const int held = p.State().figX;
    EXPECT_GE(held, x + 2);
    QTest::qWait(60);
    EXPECT_EQ(p.State().figX, held);

    // The stick's dead zone is the pad keys' test; a push is the stick's press.
    for (const Sint16 value : {-30000, 0}) {
        SDL_JoystickSetVirtualAxis(p.pad, SDL_CONTROLLER_AXIS_LEFTX, value);
        p.Pads().Pump();
    }
    EXPECT_EQ(p.State().figX, held - 1);

    p.Press(SDL_CONTROLLER_BUTTON_START);
    p.Press(SDL_CONTROLLER_BUTTON_START);
    EXPECT_FALSE(p.State().paused);
    p.Unplug();
    EXPECT_EQ(p.Pads().ConnectedPads(), 0);
    EXPECT_EQ(p.window->StatusLabel()->text(), "PAUSE");
}

TEST(PadGui, EveryWindowAnswersThePadFocusPressScrollCloseAndTheRecordEntry)
{
    PadPlayer p;
    p.Press(SDL_CONTROLLER_BUTTON_BACK);  // F5
    ASSERT_EQ(p.FocusDown<QScrollBar>(), p.hiScores->ScrollBar());
    p.Press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    EXPECT_EQ(p.hiScores->ScrollBar()->value(), 2);
    p.Press(SDL_CONTROLLER_BUTTON_B);
    EXPECT_FALSE(p.hiScores->isVisible());

    p.Press(SDL_CONTROLLER_BUTTON_LEFTSHOULDER);  // F8
    ASSERT_NE(Modal<SettingsDialog>(), nullptr);
    auto* fromSkin = p.FocusDown<QCheckBox>();  // "Colors from skin"
    ASSERT_TRUE(fromSkin != nullptr && fromSkin->isChecked());
    p.Press(SDL_CONTROLLER_BUTTON_A);
    EXPECT_FALSE(fromSkin->isChecked());
    auto* red = p.FocusDown<QScrollBar>();
    ASSERT_NE(red, nullptr);
    EXPECT_EQ(red->palette().color(QPalette::Button), red->palette().color(QPalette::Highlight));  // seen to have the focus
    const int before = red->value();
    p.Press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    EXPECT_EQ(std::abs(red->value() - before), 1);  // the way the keyboard's Right moves it
    p.Press(SDL_CONTROLLER_BUTTON_B);
    testing::Settle();
    EXPECT_EQ(Modal<SettingsDialog>(), nullptr);

    p.Press(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);  // F1
    ASSERT_NE(Modal<QDialog>(), nullptr);
    p.Press(SDL_CONTROLLER_BUTTON_B);
    testing::Settle();
    EXPECT_EQ(Modal<QDialog>(), nullptr);

    p.Press(SDL_CONTROLLER_BUTTON_Y);  // F3: the first level's window takes any button
    ASSERT_NE(Modal<LevelIntroWindow>(), nullptr);
    p.Press(SDL_CONTROLLER_BUTTON_B);
    testing::Settle();
    EXPECT_TRUE(p.State().FigureActive());

    p.Press(SDL_CONTROLLER_BUTTON_X);  // a game runs: the question
    ASSERT_NE(Modal<QMessageBox>(), nullptr);
    p.Press(SDL_CONTROLLER_BUTTON_B);  // No
    EXPECT_EQ(Modal<QMessageBox>(), nullptr);
    EXPECT_EQ(p.State().gameMode, GameMode::Levels);
    p.Press(SDL_CONTROLLER_BUTTON_X);
    p.Press(SDL_CONTROLLER_BUTTON_A);  // the focused button, Yes
    EXPECT_EQ(p.State().gameMode, GameMode::Classic);

    p.GetGame().SetField(testing::BlockedEntry());
    p.GetGame().SetScore(700);
    p.TickUntil([&] { return p.State().gameMode == GameMode::None; });
    ASSERT_NE(Modal<RecordEntryWindow>(), nullptr);
    p.Press(SDL_CONTROLLER_BUTTON_A);  // accepts the name as preset
    testing::Settle();
    EXPECT_EQ(p.app.records.classic.At(1).score, 700);
}

} // namespace
} // namespace plumix
