// The program's one random generator: seeded from the clock at start-up so
// each run deals other figures. Tests inject a scripted source instead.
#pragma once

#include "engine/ports.h"

#include <cstdint>
#include <random>

namespace plumix {

class ClockSeededRandom : public RandomSource {
public:
    ClockSeededRandom();
    explicit ClockSeededRandom(std::uint64_t seed) : engine_(seed) {}
    double Next() override;

private:
    std::mt19937_64 engine_;
};

} // namespace plumix
