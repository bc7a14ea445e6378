// Painting the board, the falling figure and the preview into the cell model.
#include "engine/game.h"

namespace plumix {

int Game::EmptyPalette() const
{
    return EmptyCellPalette(options_);
}

void Game::PaintFigure(bool draw)
{
    if (state_.curFigure < 1 || state_.curFigure > FigureCount) {
        return;
    }
    const FigureBox& box = figures_[state_.curFigure];
    const int empty = EmptyPalette();
    for (int y = 0; y < BoxSize; ++y) {
        for (int x = 0; x < BoxSize; ++x) {
            const int column = state_.figX + x;
            const int row = state_.figY + y;
            // Rows above the field are invisible until the figure falls into view.
            if (box[x][y] != 0 && row >= 0 && row < BoardRows && column >= 0 && column < BoardColumns) {
                ports_.cells.PaintBoardCell(row * BoardColumns + column, draw ? box[x][y] : empty);
            }
        }
    }
}

void Game::DrawFigure() { PaintFigure(true); }
void Game::EraseFigure() { PaintFigure(false); }

void Game::DrawNext()
{
    const int empty = EmptyPalette();
    const bool show = options_.showNext && state_.nextFigure >= 1 && state_.nextFigure <= FigureCount;
    for (int r = 0; r < BoxSize; ++r) {
        for (int c = 0; c < BoxSize; ++c) {
            const int value = show ? figures_[state_.nextFigure][c][r] : 0;
            ports_.cells.PaintPreviewCell(r * BoxSize + c, value > 0 ? value : empty);
        }
    }
}

void Game::RedrawBoard()
{
    const int empty = EmptyPalette();
    for (int c = 0; c < BoardColumns; ++c) {
        for (int r = 0; r < BoardRows; ++r) {
            ports_.cells.PaintBoardCell(r * BoardColumns + c, PaletteForCell(board_.At(c, r), empty));
        }
    }
}

void Game::RepaintCells()
{
    if (state_.introShowing) {
        for (int i = 0; i < BoardCellCount; ++i) {
            ports_.cells.PaintBoardCell(i, PaletteBrick);
        }
    } else {
        RedrawBoard();
        // A locked figure is part of the board already; drawing it again at
        // its old place would leave a ghost where rows have collapsed.
        if (state_.FigureActive()) {
            DrawFigure();
        }
    }
    DrawNext();
}

void Game::SetField(const FieldCells& field)
{
    for (int c = 0; c < BoardColumns; ++c) {
        for (int r = 0; r < BoardRows; ++r) {
            board_.Set(c, r, field[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)]);
        }
        for (int r = -BoardMargin; r < 0; ++r) {
            board_.Set(c, r, CellEmpty);
        }
    }
    RedrawBoard();
    if (state_.FigureActive()) {
        DrawFigure();
    }
}

void Game::ClearBoard()
{
    ClearBoardCells(board_);
    const int empty = EmptyPalette();
    for (int i = 0; i < BoardCellCount; ++i) {
        ports_.cells.PaintBoardCell(i, empty);
    }
    for (int i = 0; i < PreviewCellCount; ++i) {
        ports_.cells.PaintPreviewCell(i, empty);
    }
}

} // namespace plumix
