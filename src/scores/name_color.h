// The colour that belongs to a player name: the entry window paints the name
// in it while it is typed, and the hi-scores window paints the player's rows.
#pragma once

#include "base/rgb.h"

#include <string_view>

namespace plumix {

// Red is the XOR of the name's Windows-1251 bytes, green their sum folded into
// 1..255 (0 only for an empty name), blue always 255. Taken from the bytes the
// record file stores, so a name keeps its colour on every installation.
Rgb NameColor(std::string_view utf8Name);

} // namespace plumix
