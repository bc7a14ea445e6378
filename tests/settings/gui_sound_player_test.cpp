#include "settings/sound_player_qt.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>

namespace plumix {
namespace {

// Waits for the player to go quiet, as the game's event loop would.
bool QuietWithin(const SoundPlayer& player, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (player.Busy() && clock.elapsed() < ms) {
        QTest::qWait(10);
    }
    return !player.Busy();
}

TEST(SoundPlayer, EffectsNeverBlockAndEveryTimerStopsAfterwards)
{
    Settings settings;
    SoundPlayer player(settings, PLUMIX_ASSETS);
    QElapsedTimer clock;
    clock.start();
    for (const char* name : {"drop", "rotate", "clear", "Drop", "music"}) {
        player.PlaySfx(name);
    }
    EXPECT_LT(clock.elapsed(), 1000);
    if (!player.HasOutput()) {
        EXPECT_FALSE(player.Busy());  // no device: silence, nothing running
    }
    EXPECT_TRUE(QuietWithin(player, 5000));
}

TEST(SoundPlayer, SoundOffStartsNothing)
{
    Settings settings;
    settings.soundOn = 2;
    SoundPlayer player(settings, PLUMIX_ASSETS);
    player.PlaySfx("drop");
    EXPECT_FALSE(player.Busy());
}

} // namespace
} // namespace plumix
