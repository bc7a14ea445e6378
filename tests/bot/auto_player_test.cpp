#include "bot/auto_player.h"
#include "bot/planner.h"
#include "bot/proof.h"
#include "engine/keys.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace plumix::bot {
namespace {

// A level whose lowest rows are `bottom` (top to bottom): '.' empty,
// '#' brick, a digit a coloured block.
LevelDef MakeLevel(std::initializer_list<const char*> bottom, int speed, std::array<std::uint8_t, 4> quotas = {},
                   int seconds = 0)
{
    LevelDef def;
    int row = BoardRows - static_cast<int>(bottom.size());
    for (const char* text : bottom) {
        for (int c = 0; c < BoardColumns; ++c) {
            const char ch = text[c];
            def.cells[static_cast<std::size_t>(c)][static_cast<std::size_t>(row)] =
                ch == '.' ? CellEmpty : ch == '#' ? CellBrick : static_cast<std::uint8_t>(ch - '0');
        }
        ++row;
    }
    def.quotas = quotas;
    def.speed = static_cast<std::uint8_t>(speed);
    def.seconds = static_cast<std::uint8_t>(seconds);
    return def;
}

LevelSet OneLevel(const LevelDef& def)
{
    LevelSet set{};
    set[0] = def;
    return set;
}

int KindOf(int figure) { return (figure - 1) / 4; }
constexpr int KindT = 6;

TEST(AutoPlayer, FreesABrickWithTheOneFigureThatFitsItsSlot)
{
    // Only a T pointing down fills both rows, and only at the column it
    // appears in: any other placement leaves the brick where it is.
    const LevelSet set = OneLevel(MakeLevel({"444...4444", "5555#.5555"}, 0));
    int tried = 0;
    for (std::uint32_t seed = 1; seed < 200 && tried < 3; ++seed) {
        PlayTable table(set, seed);
        table.BeginLevel(0);
        if (KindOf(table.GetGame().State().curFigure) != KindT) {
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
    LevelDef blocked = MakeLevel({}, 0);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < BoardColumns - 1; ++c) {
            blocked.cells[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)] = CellBrick;
        }
    }
    LevelSet set{};
    set[0] = MakeLevel({"####..####"}, 0);
    set[1] = blocked;
    const auto summaries = MeasureLevels(set, {0, 1}, 3, 2);
    ASSERT_EQ(summaries.size(), 2U);
    EXPECT_EQ(summaries[0].wins, 3);
    EXPECT_EQ(summaries[1].plays, 3);
    EXPECT_EQ(summaries[1].wins, 0);
    const auto faults = CheckCurve(summaries);
    ASSERT_EQ(faults.size(), 1U);
    EXPECT_EQ(faults[0], "level 1: won 0 %, needs 95 %");
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
    const Reach reach = Simulate(field, Motion{s.curFigure, s.figX, s.figY}, plan, timing, table.RotateDir());
    std::int64_t at = firstKey;
    for (int k = 0; k < plan.Keys() && s.figureActive; ++k, at += KeyGapMs) {
        table.WaitUntil(at);
        table.Press(k < plan.rotations ? VkUp : plan.shift < 0 ? VkLeft : VkRight);
    }
    if (!reach.ok) {
        return;
    }
    const std::string where = "seed " + std::to_string(seed) + ", " + std::to_string(plan.rotations) +
                              " turns, " + std::to_string(plan.shift) + " columns";
    ASSERT_TRUE(s.figureActive) << where;
    EXPECT_EQ(s.figX, reach.rest.x) << where;
    EXPECT_EQ(s.curFigure, reach.rest.figure) << where;
    while (s.figureActive) {
        table.Step();
    }
    field.Lock(reach.rest.figure, reach.rest.x, reach.rest.y);
    while (table.GetGame().Clearing()) {
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
    const auto faults = CheckCurve(summaries);
    ASSERT_EQ(faults.size(), 2U);
    EXPECT_EQ(faults[0], "level 65: won 79 %, needs 80 %");
    EXPECT_EQ(faults[1], "level 79: won 41 %, needs 50 %");

    const std::string readme = std::string("# Levels\nintro\n") + TableBeginMarker + "\nold table\n" +
                               TableEndMarker + "\nafter\n";
    EXPECT_EQ(WithTable(readme, "| new |\n"), std::string("# Levels\nintro\n") + TableBeginMarker +
                                                  "\n| new |\n" + TableEndMarker + "\nafter\n");
    EXPECT_EQ(WithTable("text", "| t |\n"),
              std::string("text\n\n") + TableBeginMarker + "\n| t |\n" + TableEndMarker + "\n");
}

} // namespace
} // namespace plumix::bot
