// Construction, the timers' dispatch, the countdown, and score and speed.
#include "engine/game.h"

#include "engine/level_hooks.h"

#include <algorithm>

namespace plumix {

int IntervalForLevel(int level)
{
    return IntervalAtLevelZero - IntervalStepPerLevel * std::clamp(level, 0, MaxClassicLevel);
}

Game::Game(Ports ports, GameEndPort& ended, const PlayOptions& options)
    : ports_(ports), ended_(ended), options_(options)
{
    auto& timers = ports_.timers;
    timers.SetInterval(TimerId::Figure, 0);
    timers.SetEnabled(TimerId::Figure, true);
    timers.SetInterval(TimerId::GameOnTime, GameOnTimeInterval);
    timers.SetEnabled(TimerId::GameOnTime, false);
    timers.SetInterval(TimerId::Terminate, TerminateInterval);
    timers.SetEnabled(TimerId::Terminate, false);
    timers.SetInterval(TimerId::Victory, VictoryInterval);
    timers.SetEnabled(TimerId::Victory, false);
    timers.SetInterval(TimerId::CrashAni, CrashAniInterval);
    timers.SetEnabled(TimerId::CrashAni, false);
    InitFigures(figures_);
    ClearBoardCells(board_);
}

void Game::OnTimer(TimerId id)
{
    // A tick that was already queued when its timer stopped is not a tick.
    if (!ports_.timers.IsEnabled(id)) {
        return;
    }
    switch (id) {
    case TimerId::Figure: FallStep(); break;
    case TimerId::Terminate: TerminateStep(); break;
    case TimerId::CrashAni: CrashTick(); break;
    case TimerId::GameOnTime: GameOnTimeTick(); break;
    case TimerId::Victory: VictoryTick(); break;
    }
}

void Game::GameOnTimeTick()
{
    if (!state_.limit) {
        return;
    }
    state_.limit = *state_.limit - 1;
    if (*state_.limit <= 0) {
        state_.limit.reset();
        RunTimers();
        Notify();
        if (levelHooks_ != nullptr) {
            levelHooks_->TimeUp();
        }
        return;
    }
    Notify();
}

void Game::SetScore(std::int64_t score)
{
    state_.score = score;
    ScoreChange();
    Notify();
}

void Game::ScoreChange()
{
    if (state_.gameMode != GameMode::Classic) {
        return;
    }
    const int level = static_cast<int>(std::min<std::int64_t>(
        std::max<std::int64_t>(state_.score, 0) / PointsPerClassicLevel, MaxClassicLevel));
    state_.level = level;
    state_.fallInterval = IntervalForLevel(level);
    // A fast drop keeps its pace; the new speed comes with the next figure.
    if (!state_.dropping) {
        ports_.timers.SetInterval(TimerId::Figure, state_.fallInterval);
    }
}

} // namespace plumix
