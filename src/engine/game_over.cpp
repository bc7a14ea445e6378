// The two animations and what follows them: the crash and the end of a game,
// the bricks of a won level and the next level.
#include "engine/game.h"

#include "engine/level_hooks.h"
#include "engine/random_below.h"

namespace plumix {

void Game::GameOver()
{
    state_.limit.reset();
    state_.crashStep = 0;
    Enter(Phase::Crashing);
    Notify();
}

void Game::CrashTick()
{
    for (int i = 0; i < BoardCellCount; ++i) {
        ports_.cells.PaintBoardCell(i, RandomBelow(ports_.random, FigureColours) + 1);
    }
    if (++state_.crashStep >= CrashTicks) {
        AnimationOver(Phase::Crashed);
    }
}

void Game::VictoryTick()
{
    for (int c = 0; c < BoardColumns; ++c) {
        ports_.cells.PaintBoardCell(state_.victoryStep * BoardColumns + c, PaletteBrick);
    }
    if (++state_.victoryStep >= VictoryRows) {
        AnimationOver(Phase::Won);
    }
}

void Game::AnimationOver(Phase held)
{
    Enter(held);
    FollowAnimation();
}

void Game::FollowAnimation()
{
    if (ownWindowOpen_ || questionOpen_) {
        return;
    }
    if (state_.phase == Phase::Crashed) {
        CrashOver();
    } else if (state_.phase == Phase::Won) {
        Enter(Phase::Idle);
        if (levelHooks_ != nullptr) {
            levelHooks_->VictoryFinished();
        }
    }
}

void Game::CrashOver()
{
    Enter(Phase::Idle);
    if (state_.gameMode == GameMode::Levels && levelHooks_ != nullptr && levelHooks_->CrashFinished()) {
        Notify();
        return;
    }
    state_.curFigure = 0;
    const GameResult result{state_.gameMode, state_.score, state_.lines, state_.level.value_or(0)};
    state_.gameMode = GameMode::None;
    // An ended game has nothing to resume: "PAUSE" would stay over it.
    state_.paused = false;
    Notify();
    ended_.GameEnded(result);
}

bool Game::Ending() const
{
    if (state_.phase != Phase::Crashing && state_.phase != Phase::Crashed) {
        return false;
    }
    return state_.gameMode != GameMode::Levels || levelHooks_ == nullptr || levelHooks_->CrashEndsGame();
}

void Game::FinishEnding()
{
    if (Ending()) {
        CrashOver();
    }
}

} // namespace plumix
