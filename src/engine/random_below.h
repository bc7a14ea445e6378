// Choosing one of n things with a draw from the game's random source.
#pragma once

#include "engine/ports.h"

#include <algorithm>

namespace plumix {

// Int(r * n) for a draw r in [0, 1), kept inside 0..n-1 whatever the source.
inline int RandomBelow(RandomSource& random, int n)
{
    return std::clamp(static_cast<int>(random.Next() * n), 0, n - 1);
}

} // namespace plumix
