// Plugs the hi-scores windows into the main window: the menu's hi-scores
// action and the record entry that a game over with a place asks for.
#pragma once

#include <filesystem>

namespace plumix {

class HiScoresWindow;
class MainWindow;
struct AppState;

// `sharedRecords` is the file synchronizing merges with ("~/Records" in the
// game). The hi-scores window lives as long as `window`; it is returned for
// whoever wants to look at it.
HiScoresWindow* ConnectHiScores(MainWindow& window, AppState& app, std::filesystem::path sharedRecords);

} // namespace plumix
