// How good a field is, and how good one placement was, for the level being
// played. The field part is the well-known placement evaluation of the classic
// placement players (landing height, eroded cells, row and column transitions,
// holes, cumulative wells, with their published weights); on top of it come
// the level's tasks: bricks to remove, quotas of 1- to 4-row removals, and
// survival.
#pragma once

#include "bot/field.h"

#include <array>

namespace plumix::bot {

// The tasks as the player sees them on the screen.
struct Tasks {
    std::array<int, 4> quotas{};  // removals of 1..4 rows still required
    int bricks = 0;               // bricks on the field
    bool timed = false;           // survival: only the clock ends the level

    bool Won() const;
    // A 3- or 4-row removal is still required: rows are worth saving up.
    bool Building() const;
    // The largest removal still required.
    int LargestOpen() const;
};

// The tasks after a lock of `rowsCleared` rows that removed `bricksRemoved`.
Tasks AfterLock(const Tasks& before, int rowsCleared, int bricksRemoved);

struct FieldMeasure {
    int holes = 0;
    int rowTransitions = 0;
    int columnTransitions = 0;
    int wellSum = 0;
    int deepestWell = 0;      // the largest well sum of a single column
    int maxHeight = 0;        // 0..23, cells above the field count
    int spawnCells = 0;       // filled cells where new figures appear
    int brickRowGaps = 0;     // empty cells in rows holding bricks
    int coveredBrickGaps = 0; // those of them with a cell above
    int readyRows = 0;        // rows full but for one open column, stacked on it
};

FieldMeasure Measure(const Field& field, bool wantReadyRows);

// The value of one placement: what the lock did (landing height, eroded cells,
// quotas paid, rows spent for nothing, bricks removed).
double PlacementValue(const LockOutcome& lock, const Tasks& before, const Tasks& after, int stackHeightBefore);

// The value of the field the placements leave.
double FieldValue(const FieldMeasure& m, const Tasks& tasks);

// A field that loses or wins outright outweighs every other term.
inline constexpr double LossValue = -1e9;
inline constexpr double WinValue = 1e8;

} // namespace plumix::bot
