// Start-up without its windows: the loaders in their order (settings and
// language, skin, record tables, levels), the text each step shows while it
// runs, and what the player is told of what went wrong. The Qt side shows the
// steps on the splash and loads the skin's pictures.
#pragma once

#include "session/app_state.h"

#include <string_view>

namespace plumix {

// Installed for a user the system gives no home folder: the game plays, but
// nothing it could keep has a place.
inline constexpr std::string_view NoPlayerFolderMessage =
    "There is no home folder for your files: settings and hi-scores will not be kept after this game.";

class StartupView {
public:
    virtual ~StartupView() = default;
    // The step about to run, in the player's language once it is loaded.
    virtual void Status(std::string_view text) = 0;
    // A step has run (PLUMIX_TIMING).
    virtual void Milestone(const char* what) = 0;
    // The language is loaded: its texts go on the windows.
    virtual void LanguageLoaded() = 0;
    // The skin named by the settings: its colours and pictures.
    virtual void LoadSkin() = 0;
    // The levels are read and the field can be shown.
    virtual void Loaded() = 0;
    // What went wrong, for the player to confirm; the game goes on.
    virtual void Problem(std::string_view text) = 0;
};

void LoadEverything(AppState& app, StartupView& view);

} // namespace plumix
