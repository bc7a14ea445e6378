#include "bot/auto_player.h"
#include "bot/evaluation.h"
#include "bot/planner.h"
#include "bot/proof.h"
#include "engine/keys.h"
#include "levels/levels_file.h"
#include "support/level_harness.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>
#include <string>

namespace plumix::bot {
namespace {

constexpr int SpeedZeroInterval = 1070;
using testing::VerticalBar;

// A level whose lowest rows are `bottom` (top to bottom): '.' empty,
// '#' brick, a digit a coloured block.
LevelDef MakeLevel(const std::vector<std::string>& bottom, int speed, std::array<std::uint8_t, 4> quotas = {},
                   int seconds = 0)
{
    LevelDef def{.quotas = quotas,
                 .speed = static_cast<std::uint8_t>(speed),
                 .seconds = static_cast<std::uint8_t>(seconds)};
    testing::LayOut(def, bottom);
    return def;
}

LevelSet OneLevel(const LevelDef& def)
{
    LevelSet set{};
    set[0] = def;
    return set;
}

// The field of such a level when it starts.
Field FieldOf(const std::vector<std::string>& bottom)
{
    const LevelSet levels = OneLevel(MakeLevel(bottom, 0));
    PlayTable table(levels, 1);
    table.BeginLevel(0);
    return Field::FromBoard(table.GetGame().GetBoard());
}

TEST(AutoPlayer, FreesABrickWithTheOneFigureThatFitsItsSlot)
{
    // Only a T pointing down fills both rows, and only at the column it
    // appears in: any other placement leaves the brick where it is.
    const LevelSet set = OneLevel(MakeLevel({"444...4444", "5555#.5555"}, 0));
    int tried = 0;
    for (std::uint32_t seed = 1; seed < 200 && tried < 3; ++seed) {
        PlayTable table(set, seed);
        table.BeginLevel(0);
        if ((table.GetGame().State().curFigure - 1) / 4 != 6) {  // not a T
            continue;
        }
        ++tried;
        AutoPlayer player(table);
        const LevelPlay play = player.Play();
        EXPECT_TRUE(play.won) << "seed " << seed;
        EXPECT_EQ(play.figures, 1) << "seed " << seed;
    }
    EXPECT_EQ(tried, 3);
}

TEST(AutoPlayer, KeepsAQuickHumansPaceAndWinsTheTasks)
{
    struct Case {
        const char* name;
        LevelDef level;
    };
    const Case cases[] = {
        {"bricks at full speed", MakeLevel({"#########.", "##.#######"}, 10)},
        {"two 4-row removals", MakeLevel({}, 4, {0, 0, 0, 2})},
        {"3-row removals at speed 8", MakeLevel({}, 8, {0, 0, 2, 0})},
        {"survival", MakeLevel({"1........2"}, 9, {}, 20)},
    };
    for (const Case& c : cases) {
        const LevelSet set = OneLevel(c.level);
        for (std::uint32_t seed = 1; seed <= 3; ++seed) {
            PlayTable table(set, seed);
            table.BeginLevel(0);
            AutoPlayer player(table);
            const LevelPlay play = player.Play();
            EXPECT_TRUE(play.won) << c.name << ", seed " << seed;
            const auto& keys = table.Keys();
            ASSERT_GT(keys.size(), 3U) << c.name;
            std::int64_t last = -KeyGapMs;
            for (const KeyPress& k : keys) {
                const std::int64_t appeared = table.Appearances().at(static_cast<std::size_t>(k.figure - 1));
                EXPECT_GE(k.time - appeared, FirstKeyDelayMs) << c.name << ": key at " << k.time;
                EXPECT_GE(k.time - last, KeyGapMs) << c.name << ": key at " << k.time;
                last = k.time;
                if (c.level.HasTime()) {
                    // Survival is won by the clock: fast drops only bring more figures.
                    EXPECT_NE(k.key, VkDown) << c.name;
                }
            }
        }
    }
}

TEST(AutoPlayer, ALevelWithBricksWhereFiguresAppearIsNeverWon)
{
    std::vector<std::string> blocked(BoardRows, "..........");
    blocked[0] = blocked[1] = blocked[2] = "#########.";
    LevelSet set{};
    set[0] = MakeLevel({"####..####"}, 0);
    set[1] = MakeLevel(blocked, 0);
    const auto summaries = MeasureLevels(set, {0, 1}, 3, 2);
    ASSERT_EQ(summaries.size(), 2U);
    EXPECT_EQ(std::pair(summaries[0].wins, summaries[1].wins), std::pair(3, 0));
    EXPECT_EQ(CheckCurve(summaries), std::vector<std::string>{"level 1: won 0 %, needs 95 %"});
    EXPECT_NE(FormatTable(set, summaries).find("| 1 | 27 bricks | 0 | 0 |  | 0 % | - | - |"), std::string::npos);
}

// Presses `plan`'s keys at the pace the planner assumes and, where the planner
// calls the plan reachable, expects the figure locked where it said.
void ExpectSimulatedLanding(const LevelSet& set, std::uint32_t seed, KeyPlan plan, int& checked)
{
    PlayTable table(set, seed);
    table.BeginLevel(0);
    const GameState& s = table.GetGame().State();
    Field field = Field::FromBoard(table.GetGame().GetBoard());
    const std::int64_t firstKey = table.FigureAppearedAt() + FirstKeyDelayMs;
    const FallTiming timing{firstKey, table.Clock().DueOf(TimerId::Figure), table.Clock().Interval(TimerId::Figure)};
    const Reach reach = Simulate(field, Motion{s.curFigure, s.figX, s.figY}, plan, timing, table.GetRotation());
    std::int64_t at = firstKey;
    for (int k = 0; k < plan.Keys() && s.FigureActive(); ++k, at += KeyGapMs) {
        table.WaitUntil(at);
        table.Press(k < plan.rotations ? VkUp : plan.shift < 0 ? VkLeft : VkRight);
    }
    if (!reach.ok) {
        return;
    }
    const std::string where = "seed " + std::to_string(seed) + ", " + std::to_string(plan.rotations) +
                              " turns, " + std::to_string(plan.shift) + " columns";
    ASSERT_TRUE(s.FigureActive()) << where;
    EXPECT_EQ(s.figX, reach.rest.x) << where;
    EXPECT_EQ(s.curFigure, reach.rest.figure) << where;
    while (s.FigureActive()) {
        table.Step();
    }
    field.Lock(reach.rest.figure, reach.rest.x, reach.rest.y);
    while (table.GetGame().State().phase == Phase::Clearing) {
        table.Step();
    }
    EXPECT_EQ(Field::FromBoard(table.GetGame().GetBoard()).rows, field.rows) << where;
    ++checked;
}

TEST(Planner, PlacesTheFigureWhereTheEngineLocksIt)
{
    // A ragged field at full speed, its surface where the figure arrives while
    // keys are still coming: a key a fall step early or late finds another
    // field, and rows removed must collapse as the engine collapses them.
    const LevelSet set = OneLevel(MakeLevel({"1.........", "1.1.....3.", "1.11.2..3.", "1111.22.33", "11112222.3",
                                              "1111222.33", "1111222.33", "1111222.33", "1111222.33", "1111222.33"},
                                             10));
    int checked = 0;
    for (std::uint32_t seed = 1; seed <= 8; ++seed) {
        for (int rotations = 0; rotations < 4; ++rotations) {
            for (int shift = -6; shift <= 6; ++shift) {
                ExpectSimulatedLanding(set, seed, KeyPlan{rotations, shift}, checked);
            }
        }
    }
    EXPECT_GT(checked, 100);
}

TEST(Proof, GroupsMayNotGetEasierAndTheTableGoesBetweenItsMarkers)
{
    std::vector<LevelSummary> summaries;
    for (int level = 60; level < 80; ++level) {
        // Levels 60-69 won 85 %, 70-79 won 91 %: six points easier.
        summaries.push_back({level, 100, level < 70 ? 85 : 91, 0.0, 0.0});
    }
    EXPECT_EQ(CheckCurve(summaries),
              std::vector<std::string>{"levels 70-79: mean 91.0 %, more than 5 points above the 85.0 % before"});
    summaries[5].wins = 79;      // level 65 needs 80 %
    summaries.back().wins = 41;  // level 79 needs only half
    EXPECT_EQ(CheckCurve(summaries),
              (std::vector<std::string>{"level 65: won 79 %, needs 80 %", "level 79: won 41 %, needs 50 %"}));

    const std::string readme = std::string("# Levels\nintro\n") + TableBeginMarker + "\nold table\n" +
                               TableEndMarker + "\nafter\n";
    EXPECT_EQ(WithTable(readme, "| new |\n"), std::string("# Levels\nintro\n") + TableBeginMarker +
                                                  "\n| new |\n" + TableEndMarker + "\nafter\n");
    EXPECT_EQ(WithTable("text", "| t |\n"),
              std::string("text\n\n") + TableBeginMarker + "\n| t |\n" + TableEndMarker + "\n");
}

TEST(Evaluation, MeasuresHolesWellsTransitionsAndTheRowsReadyForABigRemoval)
{
    const FieldMeasure m = Measure(FieldOf({"1.1.......", "1111111.11", "1111111.11"}), true);
    // Holes, wells (one deep in column 1, two in column 7), the deepest, rows
    // ready, height, row and column transitions, cells where figures appear.
    EXPECT_EQ(std::tuple(m.holes, m.wellSum, m.deepestWell, m.readyRows, m.maxHeight, m.rowTransitions,
                         m.columnTransitions, m.spawnCells),
              std::tuple(0, 1 + (1 + 2), 3, 2, 3, 17 * 2 + 4 + 2 + 2, 10, 0));
    const Field bricks = FieldOf({"111.111111", "1#11.1111#"});
    const FieldMeasure b = Measure(bricks, false);
    EXPECT_EQ(std::tuple(b.holes, b.brickRowGaps, b.coveredBrickGaps, bricks.BrickCount()), std::tuple(1, 1, 1, 2));
}

TEST(Evaluation, ALockRemovesFullRowsWithTheirBricksAndLetsTheRestFall)
{
    Field field = FieldOf({"..1.......", "#########."});
    // The bar stands in column 9, rows 16 to 19.
    const LockOutcome lock = field.Lock(VerticalBar, 8, 16);
    EXPECT_EQ(std::tuple(lock.rowsCleared, lock.bricksRemoved, lock.erodedCells), std::tuple(1, 9, 1));
    EXPECT_EQ(field.BrickCount(), 0);
    EXPECT_EQ(field.rows, FieldOf({".........1", ".........1", "..1......1"}).rows);
}

TEST(Planner, SpendsRowsOnlyOnRemovalsAQuotaStillNeeds)
{
    struct Case {
        std::size_t readyRows;
        std::array<int, 4> quotas;
        int rowsExpected;
    };
    const Case cases[] = {
        {4, {0, 0, 0, 1}, 4},
        {3, {0, 0, 0, 1}, 0},  // three rows would be lost while only a 4-row removal is open: build on
        {3, {0, 0, 1, 0}, 3},
        {3, {3, 0, 0, 0}, 3},
    };
    for (const Case& c : cases) {
        Situation s;
        s.field = FieldOf(std::vector<std::string>(c.readyRows, "111111111."));
        s.figure = Motion{VerticalBar, SpawnX, SpawnY};
        s.timing = FallTiming{FirstKeyDelayMs, SpeedZeroInterval, SpeedZeroInterval};
        s.nextFigure = 1;
        s.levelInterval = SpeedZeroInterval;
        s.tasks.quotas = c.quotas;
        const Decision d = Decide(s);
        ASSERT_TRUE(d.found);
        const Reach reach = Simulate(s.field, s.figure, d.plan, s.timing, s.rotation);
        ASSERT_TRUE(reach.ok);
        Field after = s.field;
        EXPECT_EQ(after.Lock(reach.rest.figure, reach.rest.x, reach.rest.y).rowsCleared, c.rowsExpected)
            << c.readyRows << " ready rows, quotas " << c.quotas[0] << c.quotas[1] << c.quotas[2] << c.quotas[3];
    }
}

// A level stops at its first win, so the sanitized build, many times slower,
// plays little more than one seed a level.
TEST(ShippedLevels, EveryLevelIsWonWithinTheFirstSeeds)
{
    const std::filesystem::path file = std::filesystem::path(PLUMIX_ASSETS) / LevelsFileName;
    ASSERT_TRUE(std::filesystem::exists(file)) << file;
    std::vector<int> all(LevelCount);
    std::iota(all.begin(), all.end(), 0);
    for (const LevelSummary& s : MeasureLevels(LoadLevels(file), all, 4, 2, true)) {
        EXPECT_GT(s.wins, 0) << "level " << s.level << " lost with all " << s.plays << " seeds";
    }
}

} // namespace
} // namespace plumix::bot
