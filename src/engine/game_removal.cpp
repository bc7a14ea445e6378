// The lock and the row-removal sequence that the Terminate timer steps through.
#include "engine/game.h"

#include "engine/level_hooks.h"

namespace plumix {

void Game::Lock()
{
    state_.rowsCleared = 0;
    const FigureBox& box = figures_[state_.curFigure];
    for (int y = 0; y < BoxSize; ++y) {
        for (int x = 0; x < BoxSize; ++x) {
            if (box[x][y] != 0) {
                board_.Set(state_.figX + x, state_.figY + y, box[x][y]);
            }
        }
    }
    state_.clearPhase = ClearPhase::Search;
    Enter(Phase::Clearing);
    ports_.sound.PlaySfx(SoundEffect::Landing);
}

void Game::TerminateStep()
{
    switch (state_.clearPhase) {
    case ClearPhase::Search: {
        state_.clearPhase = ClearPhase::Score;
        for (int r = BoardRows - 1; r >= 0; --r) {
            bool full = true;
            for (int c = 0; c < BoardColumns && full; ++c) {
                full = board_.At(c, r) != CellEmpty;
            }
            if (full) {
                state_.clearRow = r;
                state_.clearPhase = ClearPhase::Flash;
                ++state_.rowsCleared;
                break;
            }
        }
        break;
    }
    case ClearPhase::Flash:
        for (int c = 0; c < BoardColumns; ++c) {
            ports_.cells.PaintBoardCell(state_.clearRow * BoardColumns + c, PaletteClearFlash);
        }
        state_.clearPhase = ClearPhase::Collapse;
        ports_.sound.PlaySfx(SoundEffect::RowFlash);
        break;
    case ClearPhase::Collapse: {
        const int empty = EmptyPalette();
        for (int r = state_.clearRow; r >= 1; --r) {
            for (int c = 0; c < BoardColumns; ++c) {
                const std::uint8_t value = board_.At(c, r - 1);
                board_.Set(c, r, value);
                ports_.cells.PaintBoardCell(r * BoardColumns + c, PaletteForCell(value, empty));
            }
        }
        for (int c = 0; c < BoardColumns; ++c) {
            board_.Set(c, 0, CellEmpty);
            ports_.cells.PaintBoardCell(c, empty);
        }
        state_.clearPhase = ClearPhase::Search;
        break;
    }
    case ClearPhase::Score: {
        // More than four rows go at once only from a level's field that starts
        // with full rows: the table has no points for them, the quotas take them all.
        const int rows = state_.rowsCleared;
        const bool inTable = rows >= 1 && rows < std::ssize(RowPoints);
        if (inTable) {
            SetScore(state_.score + RowPoints[static_cast<std::size_t>(rows)]);
        }
        // Straight on to the next figure or the level's end: the countdown
        // must not stop and start again in between.
        if (state_.gameMode == GameMode::Classic && inTable) {
            ++state_.lines[static_cast<std::size_t>(rows - 1)];
            Notify();
        }
        if (state_.gameMode == GameMode::Levels && levelHooks_ != nullptr && levelHooks_->RowsScored(rows)) {
            return;
        }
        SpawnFigure();
        break;
    }
    }
}

} // namespace plumix
