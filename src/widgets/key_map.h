// Qt keys and modifiers to the key codes and shift masks the rules speak.
#pragma once

#include <Qt>

namespace plumix {

// The virtual-key code of a Qt key, 0 for keys the game has no code for.
int VirtualKeyFor(int qtKey);
// 1 Shift, 2 Ctrl, 4 Alt.
int ShiftMaskFor(Qt::KeyboardModifiers modifiers);

} // namespace plumix
