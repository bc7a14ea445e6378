// New games, placing each figure, pause and resume, the game's own windows,
// and questions that hold the game still until they are answered. Which
// timers run follows from the phase here, in RunTimers, and nowhere else.
#include "engine/game.h"

#include "engine/random_below.h"

#include <utility>

namespace plumix {

void Game::RunTimers()
{
    const Phase p = state_.phase;
    const bool going = !questionOpen_;
    const bool playing = going && !state_.paused;
    auto& timers = ports_.timers;
    timers.SetEnabled(TimerId::Figure, playing && p == Phase::Falling);
    // The countdown goes on during a removal: time is up when it is up.
    timers.SetEnabled(TimerId::GameOnTime,
                      playing && state_.limit.has_value() && (p == Phase::Falling || p == Phase::Clearing));
    // A removal and the animations run to their end through a pause.
    timers.SetEnabled(TimerId::Terminate, going && p == Phase::Clearing);
    timers.SetEnabled(TimerId::CrashAni, going && p == Phase::Crashing);
    timers.SetEnabled(TimerId::Victory, going && p == Phase::Winning);
}

void Game::Enter(Phase phase)
{
    state_.phase = phase;
    RunTimers();
}

void Game::ResetGame()
{
    state_.limit.reset();
    SetScore(0);
    state_.lines = {};
    state_.openQuotas = {};
    state_.introShowing = false;
    state_.level.reset();
    state_.crashStep = 0;
    state_.victoryStep = 0;
    state_.dropping = false;
    // A new game never starts paused; nothing of the old one runs on (a
    // removal would score into it, an animation end it).
    state_.paused = false;
    Enter(Phase::Idle);
    InitFigures(figures_);
    ClearBoard();
    Notify();
}

void Game::StartClassicGame()
{
    ResetGame();
    state_.gameMode = state_.playedMode = GameMode::Classic;
    ScoreChange();
    SpawnFigure();
    ResumeGame();
}

void Game::NewClassicGame()
{
    if (state_.gameMode == GameMode::None) {
        StartClassicGame();
        return;
    }
    AskThen(Question::NewGame, [this](bool yes) {
        if (yes) {
            StartClassicGame();
        }
    });
}

void Game::AskThen(Question question, std::function<void(bool)> then)
{
    if (questionOpen_) {
        return;
    }
    questionOpen_ = true;
    RunTimers();
    ports_.dialogs.Ask(question, [this, then = std::move(then)](bool yes) {
        questionOpen_ = false;
        RunTimers();
        then(yes);
        FollowAnimation();
    });
}

void Game::SpawnFigure()
{
    do {
        state_.curFigure = state_.nextFigure;
        state_.nextFigure = RandomBelow(ports_.random, FigureCount) + 1;
    } while (state_.curFigure == 0);
    state_.figX = SpawnX;
    state_.figY = SpawnY;
    DrawNext();
    DrawFigure();
    ports_.timers.SetInterval(TimerId::Figure, state_.fallInterval);
    state_.dropping = false;
    Enter(Phase::Falling);
    // A figure that overlaps the stack or cannot fall one row ends the game.
    if (BlockedBelow() || BlockedHere()) {
        GameOver();
    }
}

void Game::PauseGame()
{
    if (state_.gameMode == GameMode::None) {
        return;
    }
    state_.paused = true;
    RunTimers();
    Notify();
}

void Game::ResumeGame()
{
    if (state_.gameMode == GameMode::None) {
        return;
    }
    state_.paused = false;
    RunTimers();
    Notify();
}

void Game::TogglePause()
{
    if (state_.gameMode == GameMode::None) {
        return;
    }
    if (state_.paused) {
        ResumeGame();
    } else {
        PauseGame();
    }
}

void Game::OwnWindowOpened()
{
    ownWindowOpen_ = true;
    PauseGame();
}

void Game::OwnWindowClosed()
{
    ownWindowOpen_ = false;
    FollowAnimation();
}

} // namespace plumix
