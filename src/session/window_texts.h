// What the main window says in the current language: the menu buttons and
// their tooltips with the fixed key hints, the two small buttons, the labels
// of the score panel, and the two texts that follow the pause.
#pragma once

#include "base/texts.h"
#include "engine/game.h"

#include <array>
#include <string>

namespace plumix {

struct MainWindowTexts {
    std::array<std::string, 6> buttonCaptions;  // the pause button's is the one of a running game
    std::array<std::string, 6> buttonTooltips;
    std::string closeTooltip;
    std::string minimizeTooltip;
    // Score, Level, 1 to 4 lines, Next.
    std::array<std::string, 7> labels;
};

MainWindowTexts ComposeMainWindowTexts(const TextTable& texts);

// "Resume" while paused, "Pause" otherwise.
const std::string& PauseButtonCaption(const TextTable& texts, bool paused);
// "PAUSE" over the board while the game is paused, but not under a level's
// window, which hides the counters and the status.
const std::string& StatusCaption(const TextTable& texts, const GameState& state);

} // namespace plumix
