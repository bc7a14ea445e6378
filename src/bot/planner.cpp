#include "bot/planner.h"

#include <algorithm>
#include <vector>

namespace plumix::bot {

namespace {

// Side moves tried each way; ten columns never need more.
constexpr int MaxShift = 7;
// Placements of the current figure that get the preview's look-ahead.
constexpr std::size_t LookAheadWidth = 8;
// Between equal placements, the one with fewer keys.
constexpr double KeyCost = 0.01;

struct Candidate {
    KeyPlan plan;
    Field field;
    Tasks tasks;
    double placement = 0.0;
    double single = 0.0;
};

// Every placement a figure appearing now can reach, with what it leaves.
template <typename Visit>
void ForEachReach(const Field& field, Motion start, FallTiming timing, Rotation rotation, Visit visit)
{
    const int rotations = DistinctRotations(start.figure);
    for (int r = 0; r < rotations; ++r) {
        for (int shift = -MaxShift; shift <= MaxShift; ++shift) {
            const KeyPlan plan{r, shift};
            const Reach reach = Simulate(field, start, plan, timing, rotation);
            if (!reach.ok) {
                continue;
            }
            visit(plan, reach.rest);
        }
    }
}

// The best value the preview figure can add to `field`.
double BestFollowUp(const Field& field, const Tasks& tasks, int figure, int interval, Rotation rotation)
{
    if (field.SpawnBlocked(figure)) {
        return LossValue;
    }
    const FallTiming timing{FirstKeyDelayMs, interval, interval};
    const int height = Measure(field, false).maxHeight;
    double best = LossValue;
    ForEachReach(field, Motion{figure, SpawnX, SpawnY}, timing, rotation, [&](KeyPlan plan, Motion rest) {
        Field after = field;
        const LockOutcome lock = after.Lock(rest.figure, rest.x, rest.y);
        const Tasks done = AfterLock(tasks, lock.rowsCleared, lock.bricksRemoved);
        double v = done.Won() ? WinValue / 2
                              : PlacementValue(lock, tasks, done, height) +
                                    FieldValue(Measure(after, done.Building()), done);
        v -= KeyCost * plan.Keys();
        best = std::max(best, v);
    });
    return best;
}

} // namespace

Reach Simulate(const Field& field, Motion start, KeyPlan plan, FallTiming timing, Rotation rotation)
{
    Motion m = start;
    std::int64_t tick = timing.nextTick;
    std::int64_t keyAt = timing.firstKey;
    const int keys = plan.Keys();
    for (int k = 0; k < keys; ++k, keyAt += KeyGapMs) {
        // A fall step due at the same moment as a key comes first.
        while (timing.interval > 0 && tick <= keyAt) {
            if (field.BlockedBelow(m.figure, m.x, m.y)) {
                return {};
            }
            ++m.y;
            tick += timing.interval;
        }
        if (k < plan.rotations) {
            const int turned = NextRotation(m.figure, rotation);
            if (field.Blocked(turned, m.x, m.y)) {
                return {};
            }
            m.figure = turned;
        } else {
            const int dx = plan.shift < 0 ? -1 : 1;
            if (field.Blocked(m.figure, m.x + dx, m.y)) {
                return {};
            }
            m.x += dx;
        }
    }
    m.y = field.DropRow(m.figure, m.x, m.y);
    return {true, m};
}

Decision Decide(const Situation& s)
{
    std::vector<Candidate> candidates;
    candidates.reserve(64);
    const int height = Measure(s.field, false).maxHeight;
    Decision decision;
    ForEachReach(s.field, s.figure, s.timing, s.rotation, [&](KeyPlan plan, Motion rest) {
        Candidate c{plan, s.field, s.tasks};
        const LockOutcome lock = c.field.Lock(rest.figure, rest.x, rest.y);
        c.tasks = AfterLock(s.tasks, lock.rowsCleared, lock.bricksRemoved);
        if (c.tasks.Won()) {
            const double v = WinValue - KeyCost * plan.Keys();
            if (!decision.found || v > decision.value) {
                decision = {true, plan, v};
            }
            return;
        }
        c.placement = PlacementValue(lock, s.tasks, c.tasks, height) - KeyCost * plan.Keys();
        c.single = c.field.SpawnBlocked(s.nextFigure)
                       ? LossValue
                       : c.placement + FieldValue(Measure(c.field, c.tasks.Building()), c.tasks);
        candidates.push_back(std::move(c));
    });
    if (decision.found) {
        return decision;
    }
    if (candidates.empty()) {
        return decision;
    }
    std::sort(candidates.begin(), candidates.end(),
              [](const Candidate& a, const Candidate& b) { return a.single > b.single; });
    const std::size_t width = s.nextFigure > 0 ? std::min(candidates.size(), LookAheadWidth) : 1;
    decision = {true, candidates.front().plan, candidates.front().single};
    if (s.nextFigure <= 0) {
        return decision;
    }
    double best = LossValue * 2;
    for (std::size_t i = 0; i < width; ++i) {
        const Candidate& c = candidates[i];
        if (c.single <= LossValue) {
            continue;
        }
        const double v = c.placement + BestFollowUp(c.field, c.tasks, s.nextFigure, s.levelInterval, s.rotation);
        if (v > best) {
            best = v;
            decision = {true, c.plan, v};
        }
    }
    return decision;
}

} // namespace plumix::bot
