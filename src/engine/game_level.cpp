// What the level mode asks of a game: its levels laid out and started, the
// quotas paid, the end of a level, and what waits for the player's resume.
#include "engine/game.h"

#include <utility>

namespace plumix {

void Game::BeginLevelGame()
{
    ResetGame();
    state_.gameMode = GameMode::Levels;
    state_.level = 0;
    Notify();
}

void Game::AwaitLevel(int level)
{
    state_.level = level;
    state_.introShowing = true;
    // The next field stays hidden under bricks until the player is ready.
    for (int i = 0; i < BoardCellCount; ++i) {
        ports_.cells.PaintBoardCell(i, PaletteBrick);
    }
    Notify();
}

void Game::PlayLevel(const LevelStart& start)
{
    state_.introShowing = false;
    SetField(start.field);
    state_.level = start.level;
    state_.lines = start.quotas;
    state_.limit = start.seconds;
    state_.fallInterval = IntervalForLevel(start.speed);
    SpawnFigure();
    // A level starts running, even when another program had the focus while
    // its window waited; behind a window of the game's own it waits for Space.
    if (ownWindowOpen_) {
        PauseGame();
    } else {
        ResumeGame();
    }
}

void Game::SetOpenQuotas(std::array<int, 4> quotas)
{
    state_.lines = quotas;
    Notify();
}

void Game::StopPlay()
{
    ports_.timers.SetEnabled(TimerId::Figure, false);
    // A countdown left running would tick on through the next level's window
    // and cut the next timed level's first second short.
    ports_.timers.SetEnabled(TimerId::GameOnTime, false);
    Hold(TimerId::Figure, false);
    Hold(TimerId::GameOnTime, false);
    state_.figureActive = false;
}

void Game::AfterAnimation(std::function<void()> next)
{
    if (ownWindowOpen_ || questionOpen_) {
        afterWindow_ = std::move(next);
        return;
    }
    next();
}

void Game::RunContinuation()
{
    if (afterWindow_ && !ownWindowOpen_ && !questionOpen_) {
        auto next = std::move(afterWindow_);
        afterWindow_ = nullptr;
        next();
    }
}

} // namespace plumix
