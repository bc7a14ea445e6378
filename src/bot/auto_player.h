// The automatic player: plays one level at a table through what a human
// player has, the field, the falling figure and the preview on the screen, the
// counters, the arrow keys and the passing of time. It never looks at the
// random generator.
#pragma once

#include "bot/play_table.h"
#include "bot/planner.h"

#include <cstdint>
#include <vector>

namespace plumix::bot {

struct LevelPlay {
    bool won = false;
    int figures = 0;
    double seconds = 0.0;  // to the win, or to the end of the play
};

class AutoPlayer {
public:
    explicit AutoPlayer(PlayTable& table) : table_(table) {}

    // Plays the level the table has begun until it is left. A player that
    // keeps a level going for ever without finishing it gives up.
    LevelPlay Play();

private:
    struct Key {
        int code = 0;
        int figure = 0;  // what the figure should be just before the key
        int x = 0;
    };

    void Plan();
    Tasks SeenTasks() const;

    PlayTable& table_;
    std::vector<Key> keys_;
    std::size_t nextKey_ = 0;
    std::int64_t nextKeyAt_ = 0;
    std::int64_t lastKeyAt_ = -KeyGapMs;
    int plannedFigure_ = 0;
    int replans_ = 0;
};

// One level of `levels`, played from a fresh game dealt by `seed`.
LevelPlay PlayLevel(const LevelSet& levels, int level, std::uint32_t seed);

// Beyond this many figures a level counts as lost.
inline constexpr int GiveUpFigures = 600;

} // namespace plumix::bot
