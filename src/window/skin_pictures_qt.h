// The chosen skin on the main window: its colours into the settings (when
// the player takes the skin's colours) and its fourteen pictures.
#pragma once

#include "session/app_state.h"
#include "window/main_window.h"

namespace plumix {

// Whatever the skin lacks keeps what the window showed before.
void LoadSkin(MainWindow& window, AppState& app);

} // namespace plumix
