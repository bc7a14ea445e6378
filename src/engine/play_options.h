// The player's choices that the rules follow. The settings own them (the
// settings file turns its bytes into these at its edge); the game reads them
// at every move and paint, so a change shows at once.
#pragma once

namespace plumix {

enum class Rotation { Counterclockwise, Clockwise };

struct PlayOptions {
    bool showGrid = false;
    bool showNext = true;
    Rotation rotation = Rotation::Clockwise;
    bool moveDuringFall = true;  // off: arrow keys are ignored during a fast drop

    bool operator==(const PlayOptions&) const = default;
};

} // namespace plumix
