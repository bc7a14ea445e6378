// The collision tests, the fall step and the keys that move the figure.
#include "engine/game.h"

#include "engine/keys.h"

namespace plumix {

bool Game::Blocked(int figure, int dx, int dy, int firstRow) const
{
    if (figure < 1 || figure > FigureCount) {
        return false;
    }
    const FigureBox& box = figures_[figure];
    for (int y = firstRow; y < BoxSize; ++y) {
        for (int x = 0; x < BoxSize; ++x) {
            if (box[x][y] != 0 && board_.At(state_.figX + x + dx, state_.figY + y + dy) != CellEmpty) {
                return true;
            }
        }
    }
    return false;
}

bool Game::BlockedBelow() const { return Blocked(state_.curFigure, 0, 1, 1); }
bool Game::BlockedHere() const { return Blocked(state_.curFigure, 0, 0, 1); }
bool Game::BlockedLeft() const { return Blocked(state_.curFigure, -1, 0, 0); }
bool Game::BlockedRight() const { return Blocked(state_.curFigure, 1, 0, 0); }

bool Game::BlockedRotated() const
{
    return Blocked(NextRotation(state_.curFigure, options_.rotation), 0, 0, 0);
}

void Game::FallStep()
{
    // A locked figure belongs to the board: a late tick must neither move it
    // nor lock it a second time.
    if (state_.phase != Phase::Falling) {
        return;
    }
    if (!BlockedBelow()) {
        EraseFigure();
        ++state_.figY;
        DrawFigure();
        if (state_.dropping) {
            SetScore(state_.score + 1);
        }
        return;
    }
    Lock();
}

void Game::KeyDown(int keyCode)
{
    // Only a falling figure moves, and not while the game stands still.
    if (state_.phase != Phase::Falling || state_.paused || questionOpen_) {
        return;
    }
    if (!options_.moveDuringFall && state_.dropping) {
        return;
    }
    auto& timers = ports_.timers;
    switch (keyCode) {
    case VkLeft:
        if (!BlockedLeft()) {
            EraseFigure();
            --state_.figX;
            DrawFigure();
        }
        break;
    case VkRight:
        if (!BlockedRight()) {
            EraseFigure();
            ++state_.figX;
            DrawFigure();
        }
        break;
    case VkUp:
        if (!BlockedRotated()) {
            EraseFigure();
            state_.curFigure = NextRotation(state_.curFigure, options_.rotation);
            DrawFigure();
        }
        break;
    case VkDown:
        if (!state_.dropping) {
            timers.SetEnabled(TimerId::Figure, false);
            timers.SetInterval(TimerId::Figure, FastDropInterval);
            timers.SetEnabled(TimerId::Figure, true);
            state_.dropping = true;
            ports_.sound.PlaySfx(SoundEffect::FastDrop);
        }
        break;
    default:
        break;
    }
    // Every key on a falling figure shifts the sequence the figures come from.
    ports_.random.Next();
}

void Game::MouseMovedOverBoard()
{
    ports_.random.Next();
}

} // namespace plumix
