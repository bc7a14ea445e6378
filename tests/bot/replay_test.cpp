// A recorded game played back: the seed deals the figures, the key log says
// what the player pressed and when, and the board and the score that result
// are checked as text. Any change to the rules of play shows here. The log
// was recorded from the automatic player on the level below.
#include "bot/play_table.h"
#include "engine/keys.h"
#include "support/game_harness.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace plumix {
namespace {

// "<ms><key>" by the time the key went down: L, R, U (turn), D (fast drop).
constexpr const char* KeyLog =
    "200U 325U 450R 575R 700D 1550L 1675L 1800D 2560U 2685D 3445U 3570R 3695R 3820R 3945D 4825U 4950U "
    "5075L 5200L 5325L 5450L 5575D 6335U 6460U 6585U 6710R 6835R 6960R 7085D 7815U 7940L 8065L 8190L "
    "8315D 9045L 9170D 9900R 10025R 10150R 10275R 10400R 10525D 11495R 11620R 11745R 11870R 11995D "
    "12755R 12880D 13640L 13765L 13890L 14015L 14140D 14990D 15750R 15875R 16000R 16125D 16885R "
    "17010R 17135R 17260R 17385D 18085R 18210R 18335R 18460R 18585D 19225U 19350U 19475L 19600L "
    "19725L 19850D 20580U 20705U 20830R 20955D 21805L 21930L 22055L 22180D 23180U 23305L 23430L "
    "23555L 23680L 23805D 24535U 24660U 24785R 24910D 25670U 25795R 25920R 26045R 26170D 26930U "
    "27055U 27180U 27305D 28035L 28160L 28285L 28410D 29140U 29265L 29390D 30510R 30635R 30760R "
    "30885R 31010D 31770U 31895R 32020R 32145D 32935U 33060U 33185U 33310L 33435L 33560L 33685L "
    "33810D 34540R 34665R 34790D 35520U 35645R 35770D 36500L 36625D 37355U 37480R 37605R 37730R "
    "37855R 37980D 38650L 38775L 38900L 39025L 39150D 39850L 39975L 40100D ";

// Four rows of junk with a staircase of holes; a double twice, a triple and a four-row removal.
LevelSet ReplayLevels()
{
    LevelSet levels{};
    levels[0].quotas = {0, 2, 1, 1};
    levels[0].speed = 3;
    for (std::size_t c = 0; c < BoardColumns; ++c) {
        for (std::size_t r = 16; r < BoardRows; ++r) {
            levels[0].cells[c][r] = c == r % 10 ? 0 : static_cast<std::uint8_t>((c + r) % 7 + 1);
        }
    }
    return levels;
}

std::string Played(std::uint32_t seed, const std::string& log)
{
    const LevelSet levels = ReplayLevels();
    bot::PlayTable table(levels, seed);
    table.BeginLevel(0);
    std::istringstream keys(log);
    std::int64_t ms = 0;
    char key = 0;
    while (keys >> ms >> key) {
        table.WaitUntil(ms);
        table.Press(key == 'L' ? VkLeft : key == 'R' ? VkRight : key == 'U' ? VkUp : VkDown);
    }
    table.WaitUntil(ms + 2000);
    return testing::RowsOf(table.GetGame().GetBoard(), 0, BoardRows - 1) + "score " + std::to_string(table.GetGame().State().score) + ", figures " +
           std::to_string(table.Figures()) + (table.Won() ? ", won" : ", not won");
}

TEST(Replay, ASeedAndAKeyLogGiveTheSameBoardAndScoreEveryTime)
{
    std::string expected;
    for (int r = 0; r < 16; ++r) {
        expected += "..........|";
    }
    expected += "4.......4.|4.......4.|56712345.7|671234567.|score 725, figures 34, won";
    EXPECT_EQ(Played(77, KeyLog), expected);
    // Another seed deals other figures, and the same keys play another game.
    const std::string other = Played(78, KeyLog);
    EXPECT_EQ(other.substr(other.find("score")), "score 145, figures 19, not won");
}

} // namespace
} // namespace plumix
