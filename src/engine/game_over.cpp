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
    Notify();
    ended_.GameEnded(result);
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
        ContinueWhenResumed([this] { GameOver(); });
    }
}

} // namespace plumix
