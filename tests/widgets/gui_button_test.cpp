// The skinned buttons as a player's mouse reaches them through the window system.
#include "support/gui_player.h"
#include "widgets/button.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace plumix {
namespace {

TEST(ButtonGui, ADoubleClickIsOneClickAndOnlyAReleaseOnTheButtonClicksOnBothKinds)
{
    Button menu;
    SmallButton close;
    for (PressButton* button : {static_cast<PressButton*>(&menu), static_cast<PressButton*>(&close)}) {
        button->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(button));
        QSignalSpy clicks(button, &PressButton::Click);
        const QPoint at(10, 9);

        // Through the window, so Qt itself makes the double-click of the two presses.
        QTest::mouseDClick(button->windowHandle(), Qt::LeftButton, {}, at);
        EXPECT_EQ(clicks.count(), 1);
        EXPECT_FALSE(button->Pressed());

        // A double-click dragged off and back before its release: no second press look.
        for (const auto& [type, to] : std::initializer_list<std::pair<QEvent::Type, QPoint>>{
                 {QEvent::MouseButtonPress, at}, {QEvent::MouseButtonRelease, at},
                 {QEvent::MouseButtonPress, at}, {QEvent::MouseButtonDblClick, at},
                 {QEvent::MouseMove, {200, 9}}, {QEvent::MouseMove, at}, {QEvent::MouseButtonRelease, at}}) {
            testing::SendMouse(button, type, to, type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton);
            EXPECT_FALSE(type == QEvent::MouseMove && button->Pressed());
        }
        EXPECT_EQ(clicks.count(), 2);
        // Released off the button, or on its edge column, is no click.
        for (QPoint off : {QPoint(200, 9), QPoint(0, 9)}) {
            testing::SendMouse(button, QEvent::MouseButtonPress, at, Qt::LeftButton);
            testing::SendMouse(button, QEvent::MouseMove, off, Qt::LeftButton);
            testing::SendMouse(button, QEvent::MouseButtonRelease, off);
        }
        EXPECT_EQ(clicks.count(), 2);
        EXPECT_FALSE(button->Pressed());

        // Slow clicks stay two clicks.
        QTest::mouseClick(button, Qt::LeftButton, {}, at, 1000);
        QTest::mouseClick(button, Qt::LeftButton, {}, at, 1000);
        EXPECT_EQ(clicks.count(), 4);
    }
}

} // namespace
} // namespace plumix
