// The system ending the game: SIGTERM, SIGHUP and SIGINT, and the end of the
// desktop session (log out, shut down), end it as the quit action does,
// without asking, so no score entered in this run is lost.
#pragma once

namespace plumix {

class GameApp;

// Call once, after the program is built. The signals are turned into events
// of the windows' thread, where saving is safe.
void EndOnSystemRequest(GameApp& game);

} // namespace plumix
