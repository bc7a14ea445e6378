// The player's choices, kept for the whole run and in "plumix.ini", whose
// bytes (1 on or the first choice, 2 off or the second) become these at the
// file's edge (settings_file.cpp).
#pragma once

#include "base/rgb.h"
#include "engine/play_options.h"

#include <cstdint>
#include <string>

namespace plumix {

struct Settings {
    std::string languageFile = "inside";  // "inside" = the built-in English texts
    std::uint8_t spareSetting = 2;        // kept in the file as it was, read by nothing
    bool soundOn = true;
    bool musicOn = true;                  // shown and stored; there is no music
    std::string skinFile = "Standart.psk";
    bool colorsFromSkin = true;
    Rgb textColor{200, 200, 200};
    Rgb backColor{100, 100, 100};
    // The grid, the preview, the turning direction and moving during a fast
    // drop: what the game itself follows.
    PlayOptions play;

    bool operator==(const Settings&) const = default;
};

} // namespace plumix
