// What the engine asks of the level mode ("PLUMIX 2") at the points where the
// two modes part. The level flow implements it; without it, mode 2 never starts.
#pragma once

namespace plumix {

class LevelModeHooks {
public:
    virtual ~LevelModeHooks() = default;
    // The scoring tick of a row removal: pay `rowsCleared` into the quotas and
    // test the level. True when the level is won and the level flow has taken
    // over (no next figure comes).
    virtual bool RowsScored(int rowsCleared) = 0;
    // The crash animation has finished. True when a life was lost and the
    // level flow goes on; false ends the game.
    virtual bool CrashFinished() = 0;
    // Whether the crash under way ends the game (no life left to lose).
    virtual bool CrashEndsGame() const = 0;
    // The survival countdown has reached 0: the level is won.
    virtual void TimeUp() = 0;
    // The level-won animation has filled the board.
    virtual void VictoryFinished() = 0;
};

} // namespace plumix
