// Which game runs: none, Classic PLUMIX (endless, faster with the score) or
// PLUMIX 2 (the levels). The values are the ones the record tables keep.
#pragma once

#include <cstdint>

namespace plumix {

enum class GameMode : std::uint8_t { None = 0, Classic = 1, Levels = 2 };

} // namespace plumix
