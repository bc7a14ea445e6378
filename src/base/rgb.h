// A colour as the game's files hold it: red, green and blue bytes.
#pragma once

#include <cstdint>

namespace plumix {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

} // namespace plumix
