#include "settings/sound_player_qt.h"

#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>

namespace plumix {
namespace {

TEST(SoundPlayer, EffectsNeverBlockAndNoTimerOutlivesThem)
{
    Settings settings;
    SoundPlayer player(settings, PLUMIX_ASSETS);
    QElapsedTimer clock;
    clock.start();
    for (const char* name : {"drop", "rotate", "clear", "Drop", "music"}) {
        player.PlaySfx(name);
    }
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_TRUE(player.HasOutput() || !player.Busy());  // no device: silence, nothing running
    EXPECT_TRUE(QTest::qWaitFor([&] { return !player.Busy(); }, 5000));
    settings.soundOn = 2;
    player.PlaySfx("drop");
    EXPECT_FALSE(player.Busy());
}

} // namespace
} // namespace plumix
