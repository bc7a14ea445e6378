#include "bot/auto_player.h"
#include "bot/planner.h"
#include "bot/proof.h"
#include "engine/keys.h"
#include "support/level_harness.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace plumix::bot {
namespace {

using testing::VerticalBar;

// A set whose level 0 has these lowest rows (as LayOut reads them).
LevelSet OneLevel(const std::vector<std::string>& bottom, int speed, std::array<std::uint8_t, 4> quotas = {},
                  int seconds = 0)
{
    LevelSet set{};
    set[0] = {.quotas = quotas, .speed = static_cast<std::uint8_t>(speed), .seconds = static_cast<std::uint8_t>(seconds)};
    testing::LayOut(set[0], bottom);
    return set;
}

// The field of such a level when it starts.
Field FieldOf(const std::vector<std::string>& bottom)
{
    const LevelSet levels = OneLevel(bottom, 0);
    PlayTable table(levels, 1);
    table.BeginLevel(0);
    return Field::FromBoard(table.GetGame().GetBoard());
}

TEST(AutoPlayer, KeepsAQuickHumansPaceAndWinsTheTasks)
{
    const std::pair<const char*, LevelSet> cases[] = {
        {"bricks at full speed", OneLevel({"#########.", "##.#######"}, 10)},
        {"two 4-row removals", OneLevel({}, 4, {0, 0, 0, 2})},
        {"3-row removals at speed 8", OneLevel({}, 8, {0, 0, 2, 0})},
        {"survival", OneLevel({"1........2"}, 9, {}, 20)},
    };
    for (const auto& [name, set] : cases) {
        for (std::uint32_t seed = 1; seed <= 3; ++seed) {
            SCOPED_TRACE(std::string(name) + ", seed " + std::to_string(seed));
            PlayTable table(set, seed);
            table.BeginLevel(0);
            EXPECT_TRUE(AutoPlayer(table).Play().won);
            ASSERT_GT(table.Keys().size(), 3U);
            std::int64_t last = -KeyGapMs;
            for (const KeyPress& k : table.Keys()) {
                const std::int64_t appeared = table.Appearances().at(static_cast<std::size_t>(k.figure - 1));
                EXPECT_GE(k.time - appeared, FirstKeyDelayMs) << "key at " << k.time;
                EXPECT_GE(k.time - last, KeyGapMs) << "key at " << k.time;
                last = k.time;
                // Survival is won by the clock: fast drops only bring more figures.
                EXPECT_TRUE(!set[0].HasTime() || k.key != VkDown);
            }
        }
    }
}

TEST(AutoPlayer, ALevelWithBricksWhereFiguresAppearIsNeverWon)
{
    std::vector<std::string> blocked(BoardRows, "..........");
    blocked[0] = blocked[1] = blocked[2] = "#########.";
    LevelSet set = OneLevel({"####..####"}, 0);
    set[1] = OneLevel(blocked, 0)[0];
    const auto summaries = MeasureLevels(set, {0, 1}, 3, 2);
    ASSERT_EQ(summaries.size(), 2U);
    EXPECT_EQ(std::pair(summaries[0].wins, summaries[1].wins), std::pair(3, 0));
    EXPECT_EQ(CheckCurve(summaries), std::vector<std::string>{"level 1: won 0 %, needs 95 %"});
    EXPECT_NE(FormatTable(set, summaries).find("| 1 | 27 bricks | 0 | 0 |  | 0 % | - | - |"), std::string::npos);
}

TEST(Planner, PlacesTheFigureWhereTheEngineLocksIt)
{
    // A ragged field at full speed, where keys still come as the figure lands: a key
    // a fall step early or late finds another field, and removed rows must collapse as the engine's do.
    const LevelSet set = OneLevel({"1.........", "1.1.....3.", "1.11.2..3.", "1111.22.33", "11112222.3",
                                   "1111222.33", "1111222.33", "1111222.33", "1111222.33", "1111222.33"},
                                  10);
    int checked = 0;
    for (std::uint32_t seed = 1; seed <= 8; ++seed) {
        for (int rotations = 0; rotations < 4; ++rotations) {
            for (int shift = -6; shift <= 6; ++shift) {
                SCOPED_TRACE("seed " + std::to_string(seed) + ", " + std::to_string(rotations) + " turns, " +
                             std::to_string(shift) + " columns");
                PlayTable table(set, seed);
                table.BeginLevel(0);
                const GameState& s = table.GetGame().State();
                Field field = Field::FromBoard(table.GetGame().GetBoard());
                const KeyPlan plan{rotations, shift};
                const std::int64_t firstKey = table.FigureAppearedAt() + FirstKeyDelayMs;
                const FallTiming timing{firstKey, table.Clock().DueOf(TimerId::Figure),
                                        table.Clock().Interval(TimerId::Figure)};
                const Reach reach =
                    Simulate(field, Motion{s.curFigure, s.figX, s.figY}, plan, timing, table.GetRotation());
                for (int k = 0; k < plan.Keys() && s.FigureActive(); ++k) {
                    table.WaitUntil(firstKey + k * KeyGapMs);
                    table.Press(k < plan.rotations ? VkUp : plan.shift < 0 ? VkLeft : VkRight);
                }
                if (!reach.ok) {
                    continue;
                }
                ASSERT_TRUE(s.FigureActive());
                EXPECT_EQ(std::pair(s.figX, s.curFigure), std::pair(reach.rest.x, reach.rest.figure));
                while (s.FigureActive()) {
                    table.Step();
                }
                while (s.phase == Phase::Clearing) {
                    table.Step();
                }
                field.Lock(reach.rest.figure, reach.rest.x, reach.rest.y);
                EXPECT_EQ(Field::FromBoard(table.GetGame().GetBoard()).rows, field.rows);
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 100);
}

TEST(Planner, SpendsRowsOnlyOnRemovalsAQuotaStillNeeds)
{
    // Ready rows, the open quotas, the rows the chosen placement removes.
    const std::tuple<std::size_t, std::array<int, 4>, int> cases[] = {
        {4, {0, 0, 0, 1}, 4},
        {3, {0, 0, 0, 1}, 0},  // three rows would be lost while only a 4-row removal is open: build on
        {3, {0, 0, 1, 0}, 3},
        {3, {3, 0, 0, 0}, 3},
    };
    for (const auto& [readyRows, quotas, rowsExpected] : cases) {
        Situation s;
        s.field = FieldOf(std::vector<std::string>(readyRows, "111111111."));
        s.figure = Motion{VerticalBar, SpawnX, SpawnY};
        s.timing = FallTiming{FirstKeyDelayMs, IntervalAtLevelZero, IntervalAtLevelZero};
        s.nextFigure = 1;
        s.levelInterval = IntervalAtLevelZero;
        s.tasks.quotas = quotas;
        const Decision d = Decide(s);
        ASSERT_TRUE(d.found);
        const Reach reach = Simulate(s.field, s.figure, d.plan, s.timing, s.rotation);
        ASSERT_TRUE(reach.ok);
        EXPECT_EQ(s.field.Lock(reach.rest.figure, reach.rest.x, reach.rest.y).rowsCleared, rowsExpected)
            << readyRows << " ready rows, quotas " << quotas[0] << quotas[1] << quotas[2] << quotas[3];
    }
}

TEST(Proof, GroupsMayNotGetEasierAndTheTableGoesBetweenItsMarkers)
{
    std::vector<LevelSummary> summaries;
    for (int level = 60; level < 80; ++level) {
        summaries.push_back({level, 100, level < 70 ? 85 : 91, 0.0, 0.0});  // six points easier from 70
    }
    EXPECT_EQ(CheckCurve(summaries),
              std::vector<std::string>{"levels 70-79: mean 91.0 %, more than 5 points above the 85.0 % before"});
    summaries[5].wins = 79;      // level 65 needs 80 %
    summaries.back().wins = 41;  // level 79 needs only half
    EXPECT_EQ(CheckCurve(summaries),
              (std::vector<std::string>{"level 65: won 79 %, needs 80 %", "level 79: won 41 %, needs 50 %"}));

    const std::string begin = std::string(TableBeginMarker) + "\n";
    const std::string end = std::string(TableEndMarker) + "\n";
    EXPECT_EQ(WithTable("# Levels\nintro\n" + begin + "old table\n" + end + "after\n", "| new |\n"),
              "# Levels\nintro\n" + begin + "| new |\n" + end + "after\n");
    EXPECT_EQ(WithTable("text", "| t |\n"), "text\n\n" + begin + "| t |\n" + end);
}

TEST(Evaluation, MeasuresHolesWellsTransitionsAndReadyRowsAndLocksAsTheEngineDoes)
{
    const FieldMeasure m = Measure(FieldOf({"1.1.......", "1111111.11", "1111111.11"}), true);
    // Wells one deep in column 1, two in column 7; cells where figures appear last.
    EXPECT_EQ(std::tuple(m.holes, m.wellSum, m.deepestWell, m.readyRows, m.maxHeight, m.rowTransitions,
                         m.columnTransitions, m.spawnCells),
              std::tuple(0, 1 + (1 + 2), 3, 2, 3, 17 * 2 + 4 + 2 + 2, 10, 0));
    const Field bricks = FieldOf({"111.111111", "1#11.1111#"});
    const FieldMeasure b = Measure(bricks, false);
    EXPECT_EQ(std::tuple(b.holes, b.brickRowGaps, b.coveredBrickGaps, bricks.BrickCount()), std::tuple(1, 1, 1, 2));

    // A lock removes full rows with their bricks and lets the rest fall: the
    // bar stands in column 9, rows 16 to 19.
    Field field = FieldOf({"..1.......", "#########."});
    const LockOutcome lock = field.Lock(VerticalBar, 8, 16);
    EXPECT_EQ(std::tuple(lock.rowsCleared, lock.bricksRemoved, lock.erodedCells), std::tuple(1, 9, 1));
    EXPECT_EQ(field.BrickCount(), 0);
    EXPECT_EQ(field.rows, FieldOf({".........1", ".........1", "..1......1"}).rows);
}

// A recorded game: the seed deals the figures, the key log (the automatic player's, on the
// level below) says what was pressed when, as "<ms><key>": L, R, U (turn), D (fast drop).
// Any change to the rules of play shows in the board and score it leaves.
constexpr const char* KeyLog =
    "200U 325U 450R 575R 700D 1550L 1675L 1800D 2560U 2685D 3445U 3570R 3695R 3820R 3945D 4825U 4950U 5075L 5200L "
    "5325L 5450L 5575D 6335U 6460U 6585U 6710R 6835R 6960R 7085D 7815U 7940L 8065L 8190L 8315D 9045L 9170D 9900R "
    "10025R 10150R 10275R 10400R 10525D 11495R 11620R 11745R 11870R 11995D 12755R 12880D 13640L 13765L 13890L 14015L "
    "14140D 14990D 15750R 15875R 16000R 16125D 16885R 17010R 17135R 17260R 17385D 18085R 18210R 18335R 18460R 18585D "
    "19225U 19350U 19475L 19600L 19725L 19850D 20580U 20705U 20830R 20955D 21805L 21930L 22055L 22180D 23180U 23305L "
    "23430L 23555L 23680L 23805D 24535U 24660U 24785R 24910D 25670U 25795R 25920R 26045R 26170D 26930U 27055U 27180U "
    "27305D 28035L 28160L 28285L 28410D 29140U 29265L 29390D 30510R 30635R 30760R 30885R 31010D 31770U 31895R 32020R "
    "32145D 32935U 33060U 33185U 33310L 33435L 33560L 33685L 33810D 34540R 34665R 34790D 35520U 35645R 35770D 36500L "
    "36625D 37355U 37480R 37605R 37730R 37855R 37980D 38650L 38775L 38900L 39025L 39150D 39850L 39975L 40100D ";

std::string Played(std::uint32_t seed, const std::string& log)
{
    // Four rows of junk with a staircase of holes; a double twice, a triple and a four-row removal.
    LevelSet levels = OneLevel({}, 3, {0, 2, 1, 1});
    for (std::size_t c = 0; c < BoardColumns; ++c) {
        for (std::size_t r = 16; r < BoardRows; ++r) {
            levels[0].cells[c][r] = c == r % 10 ? 0 : static_cast<std::uint8_t>((c + r) % 7 + 1);
        }
    }
    PlayTable table(levels, seed);
    table.BeginLevel(0);
    std::istringstream keys(log);
    std::int64_t ms = 0;
    char key = 0;
    while (keys >> ms >> key) {
        table.WaitUntil(ms);
        table.Press(key == 'L' ? VkLeft : key == 'R' ? VkRight : key == 'U' ? VkUp : VkDown);
    }
    table.WaitUntil(ms + 2000);
    return testing::RowsOf(table.GetGame().GetBoard(), 0, BoardRows - 1) + "score " +
           std::to_string(table.GetGame().State().score) + ", figures " + std::to_string(table.Figures()) +
           (table.Won() ? ", won" : ", not won");
}

TEST(Replay, ASeedAndAKeyLogGiveTheSameBoardAndScoreEveryTime)
{
    std::string expected;
    for (int r = 0; r < 16; ++r) {
        expected += "..........|";
    }
    expected += "4.......4.|4.......4.|56712345.7|671234567.|score 725, figures 34, won";
    EXPECT_EQ(Played(77, KeyLog), expected);
    const std::string other = Played(78, KeyLog);
    EXPECT_EQ(other.substr(other.find("score")), "score 145, figures 19, not won");
}

} // namespace
} // namespace plumix::bot
