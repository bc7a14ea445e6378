// The end of a game: the crash animation, then the record check.
#include "engine/game.h"

#include "engine/level_hooks.h"
#include "engine/random_below.h"
#include "scores/records.h"

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
    if (state_.gameMode == GameModeLevels && levelHooks_ != nullptr && levelHooks_->CrashFinished()) {
        Notify();
        return;
    }
    state_.curFigure = 0;
    state_.endedMode = state_.gameMode;
    state_.gameMode = GameModeNone;
    RecordTable& table = records_.ForMode(state_.endedMode);
    state_.recordPlace = FindRecordPlace(table, state_.score);
    Notify();
    if (state_.recordPlace == 0) {
        ports_.dialogs.ShowMessage(GameOverText);
        return;
    }
    MakeRoomAt(table, state_.recordPlace);
    ports_.dialogs.ShowRecordEntry(state_.endedMode, state_.recordPlace);
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
