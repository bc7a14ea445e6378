// The player's choices, kept for the whole run and in "plumix.ini". Byte
// settings follow one convention: 1 means on or the first choice, 2 off or
// the second choice.
#pragma once

#include "base/rgb.h"
#include "engine/play_options.h"

#include <cstdint>
#include <string>

namespace plumix {

struct Settings {
    std::string languageFile = "inside";  // "inside" = the built-in English texts
    std::uint8_t spareSetting = SettingOff;  // kept in the file, read by nothing
    std::uint8_t soundOn = SettingOn;        // effects play unless this is 2
    std::uint8_t musicOn = SettingOn;        // shown and stored; there is no music
    std::string skinFile = "Standart.psk";
    std::uint8_t colorsFromSkin = SettingOn;
    Rgb textColor{200, 200, 200};
    Rgb backColor{100, 100, 100};
    // The grid, the preview, the turning direction and moving during a fast
    // drop: what the game itself follows.
    PlayOptions play;

    bool operator==(const Settings&) const = default;
};

} // namespace plumix
