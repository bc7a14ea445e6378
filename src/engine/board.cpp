#include "engine/board.h"

namespace plumix {

void ClearBoardCells(Board& board)
{
    for (auto& column : board.cells) {
        column.fill(CellWall);
    }
    for (int c = 0; c < BoardColumns; ++c) {
        for (int r = -BoardMargin; r < BoardRows; ++r) {
            board.Set(c, r, CellEmpty);
        }
    }
}

} // namespace plumix
