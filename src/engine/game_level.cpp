// What the level mode asks of a game: its levels laid out and started, the
// quotas paid, and the level won.
#include "engine/game.h"

namespace plumix {

void Game::BeginLevelGame()
{
    ResetGame();
    state_.gameMode = state_.playedMode = GameMode::Levels;
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
    state_.openQuotas = start.quotas;
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
    state_.openQuotas = quotas;
    Notify();
}

void Game::PlayVictory()
{
    state_.victoryStep = 0;
    Enter(Phase::Winning);
}

} // namespace plumix
