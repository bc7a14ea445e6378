// The player's choices, kept for the whole run. Byte settings follow one
// convention: 1 means on or the first choice, 2 off or the second choice.
#pragma once

#include "base/rgb.h"

#include <array>
#include <cstdint>
#include <string>

namespace plumix {

// The two values of every byte setting.
inline constexpr std::uint8_t SettingOn = 1;
inline constexpr std::uint8_t SettingOff = 2;

struct Settings {
    std::string languageFile = "inside";  // "inside" = the built-in English texts
    std::uint8_t showGrid = 2;
    std::uint8_t spareSetting = 2;  // kept in the file, read by nothing
    std::uint8_t showNext = 1;
    std::uint8_t rotateDir = 2;     // 1 counterclockwise, 2 clockwise
    std::uint8_t soundOn = 1;       // effects play unless this is 2
    std::uint8_t musicOn = 1;       // shown and stored; there is no music
    std::string skinFile = "Standart.psk";
    std::uint8_t colorsFromSkin = 1;
    Rgb textColor{200, 200, 200};
    Rgb backColor{100, 100, 100};
    std::uint8_t moveDuringFall = 1;  // 2 = arrow keys ignored during a fast drop

    bool operator==(const Settings&) const = default;
};

} // namespace plumix
