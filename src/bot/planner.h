// Where the falling figure should go and which keys take it there in time.
// A placement counts only when the player's key schedule reaches it: the
// rotations and then the side moves are simulated one by one at the moments
// the keys can come, against the figure's fall at the level's pace.
#pragma once

#include "bot/evaluation.h"
#include "bot/field.h"

#include <cstdint>

namespace plumix::bot {

// The pace a quick human keeps: nothing in the first moments of a figure,
// then at most eight keys a second.
inline constexpr std::int64_t FirstKeyDelayMs = 200;
inline constexpr std::int64_t KeyGapMs = 125;

// The figure's fall ahead, in ms on the game clock.
struct FallTiming {
    std::int64_t firstKey = 0;  // the earliest moment the next key may come
    std::int64_t nextTick = 0;  // the next fall step
    int interval = 0;           // between fall steps
};

// Rotations first, then side moves (negative: left).
struct KeyPlan {
    int rotations = 0;
    int shift = 0;
    int Keys() const { return rotations + (shift < 0 ? -shift : shift); }
};

struct Motion {
    int figure = 0;
    int x = 0;
    int y = 0;
};

// Where the plan leaves the figure once its keys are done and it has fallen
// straight down; nothing when a key is refused or the figure locks first.
struct Reach {
    bool ok = false;
    Motion rest;
};
Reach Simulate(const Field& field, Motion start, KeyPlan plan, FallTiming timing, Rotation rotation);

// Everything the player sees when a figure needs a plan.
struct Situation {
    Field field;
    Motion figure;
    FallTiming timing;
    int nextFigure = 0;        // the preview
    int levelInterval = 0;     // the next figure falls at this pace
    Tasks tasks;
    Rotation rotation = Rotation::Clockwise;
};

struct Decision {
    bool found = false;
    KeyPlan plan;
    double value = 0.0;
};

// The best reachable placement, looking one figure ahead with the preview.
Decision Decide(const Situation& situation);

} // namespace plumix::bot
