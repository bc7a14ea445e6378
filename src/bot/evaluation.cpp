#include "bot/evaluation.h"

#include "levels/level_flow.h"

#include <algorithm>
#include <bit>

namespace plumix::bot {

namespace {

// The published weights of the six-feature placement evaluation.
constexpr double LandingHeightWeight = -4.500158825082766;
constexpr double ErodedCellsWeight = 3.4181268101392694;
constexpr double RowTransitionsWeight = -3.2178882868487753;
constexpr double ColumnTransitionsWeight = -9.348695305445199;
constexpr double HolesWeight = -7.899265427351652;
constexpr double WellSumWeight = -3.3855972247263626;

// The level's tasks, scaled against the terms above: a placement that pays a
// quota or removes bricks is worth a few holes; rows spent on a removal that
// no quota needs are worth a hole each, unless the stack is getting high.
constexpr std::array<double, 4> QuotaReward = {60.0, 120.0, 260.0, 420.0};
constexpr double WastedRowCost = 14.0;
constexpr double BrickReward = 30.0;
constexpr double BrickRowGapCost = 2.0;
constexpr double CoveredBrickGapCost = 14.0;
constexpr double ReadyRowReward = 9.0;
// Above this the stack starts to hurt more than the features say: a figure
// must still reach the sides before it has fallen onto the stack.
constexpr int SafeHeight = 10;
constexpr double HeightCost = 6.0;
constexpr double SpawnCellCost = 400.0;
// Well sums up to a four-deep well are spared in the column kept open for a
// 3- or 4-row removal.
constexpr int SparedWellSum = 10;

constexpr int FirstFieldIndex = BoardMargin;
constexpr int FloorIndex = BoardMargin + BoardRows;
// Columns 3..6 of rows 0..3: where every new figure's box lies.
constexpr RowBits SpawnBits = RowBits{0xF} << (SpawnX + ColumnBit);
constexpr int SpawnRows = 4;

} // namespace

bool Tasks::Won() const
{
    return !timed && bricks == 0 && std::all_of(quotas.begin(), quotas.end(), [](int q) { return q <= 0; });
}

bool Tasks::Building() const
{
    return !timed && (quotas[2] > 0 || quotas[3] > 0);
}

int Tasks::LargestOpen() const
{
    for (int i = 3; i >= 0; --i) {
        if (quotas[static_cast<std::size_t>(i)] > 0) {
            return i + 1;
        }
    }
    return 0;
}

Tasks AfterLock(const Tasks& before, int rowsCleared, int bricksRemoved)
{
    Tasks after = before;
    PayQuotas(after.quotas, rowsCleared);
    after.bricks -= bricksRemoved;
    return after;
}

FieldMeasure Measure(const Field& field, bool wantReadyRows)
{
    FieldMeasure m;
    std::array<int, BoardColumns> wellDepth{};
    std::array<int, BoardColumns> wellSum{};
    std::array<int, BoardColumns> surface{};
    surface.fill(BoardRows);
    RowBits seen = 0;
    RowBits previous = 0;
    for (int y = 0; y < FloorIndex; ++y) {
        const RowBits full = field.rows[static_cast<std::size_t>(y)];
        const RowBits cells = full & FieldBits;
        const int row = y - BoardMargin;
        if (cells != 0 && m.maxHeight == 0) {
            m.maxHeight = BoardRows - row;
        }
        if (y < FirstFieldIndex) {
            seen |= cells;
            previous = cells;
            continue;
        }
        if (row < SpawnRows) {
            m.spawnCells += std::popcount(cells & SpawnBits);
        }
        m.columnTransitions += std::popcount(cells ^ previous);
        previous = cells;
        // Walls count as filled: a row's transitions between bits 10 and 21.
        m.rowTransitions += std::popcount((full ^ (full >> 1)) & (RowBits{0x7FF} << (ColumnBit - 1)));
        const RowBits emptyCovered = ~cells & seen & FieldBits;
        m.holes += std::popcount(emptyCovered);
        RowBits fresh = cells & ~seen;
        while (fresh != 0) {
            const int c = std::countr_zero(fresh) - ColumnBit;
            surface[static_cast<std::size_t>(c)] = row;
            fresh &= fresh - 1;
        }
        const RowBits wells = ~full & (full << 1) & (full >> 1) & FieldBits & ~seen;
        for (int c = 0; c < BoardColumns; ++c) {
            auto& depth = wellDepth[static_cast<std::size_t>(c)];
            if ((wells >> (c + ColumnBit)) & 1U) {
                ++depth;
                wellSum[static_cast<std::size_t>(c)] += depth;
            } else {
                depth = 0;
            }
        }
        const RowBits brick = field.bricks[static_cast<std::size_t>(y)];
        if (brick != 0) {
            m.brickRowGaps += std::popcount(~cells & FieldBits);
            m.coveredBrickGaps += std::popcount(emptyCovered);
        }
        seen |= cells;
    }
    m.columnTransitions += std::popcount(previous ^ FieldBits);
    for (int c = 0; c < BoardColumns; ++c) {
        m.wellSum += wellSum[static_cast<std::size_t>(c)];
        m.deepestWell = std::max(m.deepestWell, wellSum[static_cast<std::size_t>(c)]);
    }
    if (wantReadyRows) {
        for (int c = 0; c < BoardColumns; ++c) {
            const RowBits open = RowBits{1} << (c + ColumnBit);
            int ready = 0;
            for (int row = surface[static_cast<std::size_t>(c)] - 1; row >= 0; --row) {
                const RowBits cells = field.rows[static_cast<std::size_t>(row + BoardMargin)] & FieldBits;
                if (cells != (FieldBits & ~open)) {
                    break;
                }
                ++ready;
            }
            m.readyRows = std::max(m.readyRows, ready);
        }
    }
    return m;
}

double PlacementValue(const LockOutcome& lock, const Tasks& before, const Tasks& after, int stackHeightBefore)
{
    const double landing =
        BoardRows - (lock.landingTop + lock.landingBottom) / 2.0;
    double v = LandingHeightWeight * landing;
    if (before.timed) {
        return v + ErodedCellsWeight * lock.erodedCells;
    }
    int rowsPaid = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const int paid = std::max(before.quotas[i], 0) - std::max(after.quotas[i], 0);
        rowsPaid += paid * static_cast<int>(i + 1);
        v += QuotaReward[i] * paid;
    }
    v += BrickReward * lock.bricksRemoved;
    if (before.Building()) {
        // A high stack makes any removal welcome again.
        const double spare = std::clamp((14.0 - stackHeightBefore) / 6.0, 0.0, 1.0);
        const int wasted = lock.bricksRemoved > 0 ? 0 : std::max(lock.rowsCleared - rowsPaid, 0);
        v -= WastedRowCost * wasted * spare;
        v += ErodedCellsWeight * lock.erodedCells * (1.0 - spare);
    } else {
        v += ErodedCellsWeight * lock.erodedCells;
    }
    return v;
}

double FieldValue(const FieldMeasure& m, const Tasks& tasks)
{
    const bool building = tasks.Building();
    const int wells = building ? m.wellSum - std::min(m.deepestWell, SparedWellSum) : m.wellSum;
    double v = RowTransitionsWeight * m.rowTransitions + ColumnTransitionsWeight * m.columnTransitions +
               HolesWeight * m.holes + WellSumWeight * wells;
    const int over = std::max(m.maxHeight - SafeHeight, 0);
    v -= HeightCost * over * over;
    v -= SpawnCellCost * m.spawnCells;
    if (tasks.timed) {
        return v;
    }
    v -= BrickRowGapCost * m.brickRowGaps + CoveredBrickGapCost * m.coveredBrickGaps;
    if (building) {
        v += ReadyRowReward * std::min(m.readyRows, tasks.LargestOpen());
    }
    return v;
}

} // namespace plumix::bot
