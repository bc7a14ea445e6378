#include "engine/clock_seeded_random.h"

#include <chrono>

namespace plumix {

ClockSeededRandom::ClockSeededRandom()
    : engine_(static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count()))
{
}

double ClockSeededRandom::Next()
{
    // 53 random bits give every double in [0, 1) on a uniform grid; never 1.0.
    return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}

} // namespace plumix
