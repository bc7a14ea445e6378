// The level mode ("PLUMIX 2"): a game of 100 levels played in order, each from
// its own field, speed, quotas and countdown, with lives and bonus rounds. It
// plugs into the engine where the two modes part and leaves the rest of the
// game (moves, removals, scoring, pause) to the engine unchanged.
#pragma once

#include "engine/game.h"
#include "engine/level_hooks.h"
#include "levels/levels_file.h"

#include <array>
#include <functional>

namespace plumix {

inline constexpr int StartingLives = 3;

// The window that shows a level before it starts. It must call
// LevelFlow::StartLevel once the player has dismissed it.
class LevelIntroPort {
public:
    virtual ~LevelIntroPort() = default;
    virtual void ShowLevelIntro() = 0;
};

// Shown when the last level has been left, won or lost.
inline constexpr std::string_view LastLevelMessage =
    "Дану нахрен!!! Plumix 2 невозможно пройти!!! Скорей всего ты сломал игру, ты жулик!!!";

// Pays `rowsCleared` into the open quotas (removals of 1..4 rows still
// required), the largest quota that fits first; rows that fit none are lost.
void PayQuotas(std::array<int, 4>& openQuotas, int rowsCleared);

class LevelFlow : public LevelModeHooks {
public:
    struct Ports {
        DialogPort& dialogs;
        LevelIntroPort& intro;
    };

    // Plugs itself into `game`.
    LevelFlow(Game& game, Ports ports, const LevelSet& levels);
    // The levels are kept by reference: a temporary set would be gone at once.
    LevelFlow(Game& game, Ports ports, LevelSet&& levels) = delete;
    ~LevelFlow() override;
    LevelFlow(const LevelFlow&) = delete;
    LevelFlow& operator=(const LevelFlow&) = delete;

    // Menu action "New game Plumix 2": asks first while a game runs.
    void NewGame();
    // Starts a level-mode game at level 0 without asking.
    void StartGame();
    // The intro window was dismissed: the current level starts.
    void StartLevel();

    int Lives() const { return lives_; }
    // The last level has been left, won or lost: its message is up, and the
    // game ends after it.
    bool LastLevelLeft() const { return finalCrash_; }
    // The level being shown or played.
    int CurrentLevel() const;
    const LevelDef& CurrentLevelDef() const;

    // LevelModeHooks.
    bool RowsScored(int rowsCleared) override;
    bool CrashFinished() override;
    bool CrashEndsGame() const override { return finalCrash_ || lives_ <= 1; }
    void TimeUp() override;
    void VictoryFinished() override { NextLevel(); }

private:
    // The level is won: the bricks fill the board (the engine's animation),
    // then NextLevel.
    void LevelDone() { game_.PlayVictory(); }
    // After a level won or lost: the bonus life, then the next level's window,
    // or after the last level its message and the end.
    void NextLevel();
    void ShowIntro(int level);
    bool LevelWon() const;

    Game& game_;
    Ports ports_;
    const LevelSet& levels_;
    int lives_ = 0;
    // The countdown ran out during a removal: the level ends when it has scored.
    bool timeUpPending_ = false;
    // The last level has been left: the next crash ends the game whatever the lives.
    bool finalCrash_ = false;
};

} // namespace plumix
