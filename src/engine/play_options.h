// The player's choices that the rules follow, as the settings file holds
// them: byte settings, 1 meaning on or the first choice and 2 off or the
// second. The settings own them; the game reads them at every move and paint,
// so a change shows at once.
#pragma once

#include <cstdint>

namespace plumix {

inline constexpr std::uint8_t SettingOn = 1;
inline constexpr std::uint8_t SettingOff = 2;

// Values of `rotateDir`.
inline constexpr std::uint8_t RotateCounterclockwise = 1;
inline constexpr std::uint8_t RotateClockwise = 2;

struct PlayOptions {
    std::uint8_t showGrid = SettingOff;
    std::uint8_t showNext = SettingOn;
    std::uint8_t rotateDir = RotateClockwise;
    std::uint8_t moveDuringFall = SettingOn;  // off: arrow keys are ignored during a fast drop

    bool operator==(const PlayOptions&) const = default;
};

} // namespace plumix
