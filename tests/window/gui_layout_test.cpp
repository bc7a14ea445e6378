#include "widgets/button.h"
#include "window/board_widget.h"
#include "window/main_window.h"
#include "window/splash_window.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>

#include <gtest/gtest.h>

namespace plumix {
namespace {

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
