// The end of a game: the crash animation, then the result handed on.
#include "engine/game.h"

#include "engine/level_hooks.h"
#include "engine/random_below.h"

namespace plumix {

void Game::GameOver()
{
    state_.limit.reset();
    StopPlay();
    if (state_.crashStep != CrashTicks) {
        state_.crashStep = 0;
        crashing_ = true;
        ports_.timers.SetEnabled(TimerId::CrashAni, true);
        Notify();
        return;
    }
    state_.crashStep = 0;
    crashing_ = false;
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
    if (!crashing_) {
        return false;
    }
    return state_.gameMode != GameMode::Levels || levelHooks_ == nullptr || levelHooks_->CrashEndsGame();
}

void Game::FinishEnding()
{
    if (!Ending()) {
        return;
    }
    ports_.timers.SetEnabled(TimerId::CrashAni, false);
    afterWindow_ = nullptr;
    state_.crashStep = CrashTicks;
    GameOver();
}

void Game::CrashTick()
{
    if (!crashing_) {
        ports_.timers.SetEnabled(TimerId::CrashAni, false);
        return;
    }
    for (int i = 0; i < BoardCellCount; ++i) {
        ports_.cells.PaintBoardCell(i, RandomBelow(ports_.random, FigureColours) + 1);
    }
    ++state_.crashStep;
    if (state_.crashStep >= CrashTicks) {
        state_.crashStep = CrashTicks;
        ports_.timers.SetEnabled(TimerId::CrashAni, false);
        AfterAnimation([this] { GameOver(); });
    }
}

} // namespace plumix
