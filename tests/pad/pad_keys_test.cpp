// The pad's buttons and stick as keys, on a clock of plain numbers.
#include "engine/keys.h"
#include "pad/pad_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace plumix {
namespace {

struct Recorder : PadKeySink {
    std::vector<std::string> seen;
    void KeyDown(PadKey key, bool autoRepeat) override
    {
        seen.push_back((autoRepeat ? "repeat " : "down ") + std::to_string(key.keyCode));
    }
    void KeyUp(PadKey key) override { seen.push_back("up " + std::to_string(key.keyCode)); }
    void PadUnplugged() override { seen.push_back("unplugged"); }
    std::vector<std::string> Take() { return std::exchange(seen, {}); }
};

constexpr KeyRepeat Repeat{300, 40};

// The windows' tests press most buttons; these are the ones that must do nothing.
TEST(PadKeys, ButtonsWithoutAKeyWhereTheyAre)
{
    EXPECT_FALSE(KeyForButton(PadContext::Game, PadButton::B));
    EXPECT_FALSE(KeyForButton(PadContext::Dialog, PadButton::Start));  // no game key behind a window
    EXPECT_FALSE(KeyForButton(PadContext::List, PadButton::Y));
    EXPECT_EQ(KeyForButton(PadContext::Dialog, PadButton::Up), (PadKey{VkTab, ShiftMaskShift}));
}

TEST(PadKeys, AHeldSideRepeatsAtTheDesktopsPaceTurnAndDropDoNot)
{
    Recorder r;
    PadKeys keys(r, Repeat);
    keys.ButtonDown(0, PadButton::Left, PadContext::Game, 1000);
    keys.Tick(1299);
    EXPECT_EQ(r.Take(), (std::vector<std::string>{"down 37"}));
    keys.Tick(1300);
    keys.Tick(1340);
    keys.Tick(1500);  // late: one repeat, not a burst, then the pace again
    keys.Tick(1539);
    keys.Tick(1540);
    EXPECT_EQ(r.Take(), (std::vector<std::string>{"repeat 37", "repeat 37", "repeat 37", "repeat 37"}));
    // The last key pressed repeats, as on a keyboard; turning never does.
    keys.ButtonDown(0, PadButton::Up, PadContext::Game, 1600);
    keys.Tick(5000);
    keys.ButtonUp(0, PadButton::Up);
    keys.ButtonUp(0, PadButton::Left);
    EXPECT_EQ(keys.NextDue(), PadKeys::Never);
    EXPECT_EQ(r.Take(), (std::vector<std::string>{"down 38", "up 38", "up 37"}));
}

TEST(PadKeys, AStickDriftingInsideTheDeadZoneMovesNothingAndOnePushIsOnePress)
{
    Recorder r;
    PadKeys keys(r, Repeat);
    for (int value : {1800, -2400, 9000, -9000, 16000, -16383, 3000}) {  // a worn stick, and a knock
        keys.StickMoved(0, 0, value, PadContext::Game, 0);
        keys.StickMoved(0, 1, value, PadContext::Game, 0);
    }
    keys.StickMoved(0, 1, -32768, PadContext::Game, 0);  // up is no key of the game
    keys.Tick(10000);
    EXPECT_EQ(r.Take(), std::vector<std::string>{});
    // Trembling at the edge of a push presses once.
    for (int value : {20000, 15000, 17000, 14000, 30000}) {
        keys.StickMoved(0, 0, value, PadContext::Game, 0);
    }
    keys.StickMoved(0, 0, 12000, PadContext::Game, 0);
    EXPECT_EQ(r.Take(), (std::vector<std::string>{"down 39", "up 39"}));
    // The stick and the D-pad are held apart.
    keys.ButtonDown(0, PadButton::Left, PadContext::Dialog, 0);
    keys.StickMoved(0, 1, -30000, PadContext::Dialog, 0);
    keys.StickMoved(0, 1, 0, PadContext::Dialog, 0);
    EXPECT_EQ(r.Take(), (std::vector<std::string>{"down 37", "down 9", "up 9"}));
}

TEST(PadKeys, AnUnpluggedPadLetsGoOfItsKeysAndSaysSo)
{
    Recorder r;
    PadKeys keys(r, Repeat);
    keys.ButtonDown(1, PadButton::Right, PadContext::Game, 0);
    keys.ButtonDown(2, PadButton::A, PadContext::Game, 0);
    r.Take();
    keys.Unplugged(1);
    EXPECT_EQ(keys.NextDue(), PadKeys::Never);
    EXPECT_EQ(r.Take(), (std::vector<std::string>{"up 39", "unplugged"}));
    keys.ButtonUp(1, PadButton::Right);  // nothing left of it
    keys.ButtonUp(2, PadButton::A);
    EXPECT_EQ(r.Take(), (std::vector<std::string>{"up 38"}));
}

} // namespace
} // namespace plumix
