#include "bot/evaluation.h"
#include "bot/planner.h"

#include <gtest/gtest.h>

#include <vector>

namespace plumix::bot {
namespace {

// A field whose lowest rows are `bottom` (top to bottom): '.' empty, '#'
// brick, a digit a coloured block.
Field FieldOf(const std::vector<const char*>& bottom)
{
    Board board;
    ClearBoardCells(board);
    int row = BoardRows - static_cast<int>(bottom.size());
    for (const char* text : bottom) {
        for (int c = 0; c < BoardColumns; ++c) {
            board.Set(c, row, text[c] == '.' ? CellEmpty : text[c] == '#' ? CellBrick : std::uint8_t{1});
        }
        ++row;
    }
    return Field::FromBoard(board);
}

constexpr int VerticalBar = 5;
constexpr int SpeedZeroInterval = 1070;

TEST(Evaluation, MeasuresHolesWellsTransitionsAndTheRowsReadyForABigRemoval)
{
    const FieldMeasure shape = Measure(FieldOf({"1.1.......", "1111111.11", "1111111.11"}), true);
    EXPECT_EQ(shape.holes, 0);
    EXPECT_EQ(shape.wellSum, 1 + (1 + 2));  // a one-deep well in column 1, two deep in column 7
    EXPECT_EQ(shape.deepestWell, 3);
    EXPECT_EQ(shape.readyRows, 2);
    EXPECT_EQ(shape.maxHeight, 3);
    EXPECT_EQ(shape.rowTransitions, 17 * 2 + 4 + 2 + 2);
    EXPECT_EQ(shape.columnTransitions, 10);
    EXPECT_EQ(shape.spawnCells, 0);

    const Field bricks = FieldOf({"111.111111", "1#11.1111#"});
    const FieldMeasure b = Measure(bricks, false);
    EXPECT_EQ(b.holes, 1);
    EXPECT_EQ(b.brickRowGaps, 1);
    EXPECT_EQ(b.coveredBrickGaps, 1);
    EXPECT_EQ(bricks.BrickCount(), 2);
}

TEST(Evaluation, ALockRemovesFullRowsWithTheirBricksAndLetsTheRestFall)
{
    Field field = FieldOf({"..1.......", "#########."});
    // The bar stands in column 9, rows 16 to 19.
    const LockOutcome lock = field.Lock(VerticalBar, 8, 16);
    EXPECT_EQ(lock.rowsCleared, 1);
    EXPECT_EQ(lock.bricksRemoved, 9);
    EXPECT_EQ(lock.erodedCells, 1);
    EXPECT_EQ(field.BrickCount(), 0);
    EXPECT_EQ(field.rows, FieldOf({".........1", ".........1", "..1......1"}).rows);
}

TEST(Planner, SpendsRowsOnlyOnRemovalsAQuotaStillNeeds)
{
    struct Case {
        std::vector<const char*> field;
        std::array<int, 4> quotas;
        int rowsExpected;
    };
    const char* full = "111111111.";
    const Case cases[] = {
        {{full, full, full, full}, {0, 0, 0, 1}, 4},
        // Three rows would be lost while only a 4-row removal is open: build on.
        {{full, full, full}, {0, 0, 0, 1}, 0},
        {{full, full, full}, {0, 0, 1, 0}, 3},
        {{full, full, full}, {3, 0, 0, 0}, 3},
    };
    for (const Case& c : cases) {
        Situation s;
        s.field = FieldOf(c.field);
        s.figure = Motion{VerticalBar, SpawnX, SpawnY};
        s.timing = FallTiming{FirstKeyDelayMs, SpeedZeroInterval, SpeedZeroInterval};
        s.nextFigure = 1;
        s.levelInterval = SpeedZeroInterval;
        s.tasks.quotas = c.quotas;
        const Decision d = Decide(s);
        ASSERT_TRUE(d.found);
        const Reach reach = Simulate(s.field, s.figure, d.plan, s.timing, s.rotateDir);
        ASSERT_TRUE(reach.ok);
        Field after = s.field;
        EXPECT_EQ(after.Lock(reach.rest.figure, reach.rest.x, reach.rest.y).rowsCleared, c.rowsExpected)
            << c.field.size() << " ready rows, quotas " << c.quotas[0] << c.quotas[1] << c.quotas[2] << c.quotas[3];
    }
}

} // namespace
} // namespace plumix::bot
