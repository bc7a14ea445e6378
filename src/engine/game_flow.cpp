// New games, placing each figure, pause and resume, and questions that hold
// the game still until they are answered.
#include "engine/game.h"

#include "engine/random_below.h"

#include <utility>

namespace plumix {

void Game::ResetGame()
{
    state_.limit.reset();
    SetScore(0);
    state_.lines = {};
    state_.introShowing = false;
    state_.level.reset();
    auto& timers = ports_.timers;
    timers.SetEnabled(TimerId::Figure, false);
    timers.SetEnabled(TimerId::GameOnTime, false);
    timers.SetEnabled(TimerId::Victory, false);
    timers.SetEnabled(TimerId::CrashAni, false);
    // A removal of the old game must not score into, or place a figure in, the new one.
    timers.SetEnabled(TimerId::Terminate, false);
    clearing_ = false;
    crashing_ = false;
    state_.crashStep = 0;
    state_.figureActive = false;
    state_.dropping = false;
    // A new game never starts paused, and nothing of the old one follows.
    state_.paused = false;
    afterWindow_ = nullptr;
    InitFigures(figures_);
    ClearBoard();
    Notify();
}

void Game::StartClassicGame()
{
    ResetGame();
    state_.gameMode = GameMode::Classic;
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
    for (int i = 0; i < TimerCount; ++i) {
        const auto id = static_cast<TimerId>(i);
        heldTimers_[static_cast<std::size_t>(i)] = ports_.timers.IsEnabled(id);
        ports_.timers.SetEnabled(id, false);
    }
    questionOpen_ = true;
    ports_.dialogs.Ask(question, [this, then = std::move(then)](bool yes) {
        questionOpen_ = false;
        for (int i = 0; i < TimerCount; ++i) {
            if (heldTimers_[static_cast<std::size_t>(i)]) {
                ports_.timers.SetEnabled(static_cast<TimerId>(i), true);
            }
        }
        then(yes);
        RunContinuation();
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
    if (!state_.paused) {
        ports_.timers.SetEnabled(TimerId::Figure, true);
    }
    // Set before the end tests, so a game over leaves no figure active.
    state_.dropping = false;
    state_.figureActive = true;
    if (BlockedBelow()) {
        GameOver();
    }
    if (BlockedHere()) {
        GameOver();
    }
}

void Game::PauseGame()
{
    if (state_.gameMode == GameMode::None) {
        return;
    }
    state_.paused = true;
    ports_.timers.SetEnabled(TimerId::Figure, false);
    ports_.timers.SetEnabled(TimerId::GameOnTime, false);
    // Paused behind an open question: the answer must not restart the fall.
    Hold(TimerId::Figure, false);
    Hold(TimerId::GameOnTime, false);
    Notify();
}

void Game::ResumeGame()
{
    if (state_.gameMode == GameMode::None) {
        return;
    }
    state_.paused = false;
    RunPlayTimers();
    Notify();
}

void Game::OwnWindowOpened()
{
    ownWindowOpen_ = true;
    PauseGame();
}

void Game::OwnWindowClosed()
{
    ownWindowOpen_ = false;
    RunContinuation();
}

void Game::RunPlayTimers()
{
    if (state_.paused) {
        return;
    }
    // Only a falling figure has a fall to resume; during a removal or an
    // animation the figure is already part of the board. Behind an open
    // question the timers wait for the answer.
    if (questionOpen_) {
        Hold(TimerId::Figure, state_.figureActive);
        Hold(TimerId::GameOnTime, state_.limit.has_value());
        return;
    }
    if (state_.figureActive) {
        ports_.timers.SetEnabled(TimerId::Figure, true);
    }
    if (state_.limit) {
        ports_.timers.SetEnabled(TimerId::GameOnTime, true);
    }
}

void Game::Hold(TimerId id, bool enabled)
{
    if (questionOpen_) {
        heldTimers_[static_cast<std::size_t>(id)] = enabled;
    }
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

} // namespace plumix
