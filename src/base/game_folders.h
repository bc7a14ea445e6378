// Where the game's files are. Run from its build folder (`make run`), or
// unpacked anywhere with its data beside it, everything is in the program's
// own folder, whatever the working folder it was started from. Installed (the program in a "games" or "bin"
// folder with its data in "../share/plumix"), each player's settings and
// records live in their own folder ($XDG_DATA_HOME/plumix), and skins,
// sounds, language files and the levels are read from there first and from
// the installed data otherwise; the installed data is never written.
// Installed into the player's own home (`--prefix ~/.local`) the installed
// data is that very folder, so the player's files go to $XDG_CONFIG_HOME/plumix
// instead, where reinstalling or removing the game never reaches them.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace plumix {

struct GameFolders {
    // plumix.ini, Records: the only files written. Empty when installed for a
    // user without a home folder: then nothing is read or written there.
    std::filesystem::path user;
    std::vector<std::filesystem::path> data;   // read in this order
    bool installed = false;
};

// The installed data relative to the program's folder.
inline constexpr const char* InstalledDataFolder = "../share/plumix";

// `programFolder` is the folder of the running program; `xdgDataHome` and
// `xdgConfigHome` the environment's values (null or empty when unset), `home`
// the player's home folder (see HomeFolder). A relative value of any of them
// is not used: it would mean another folder wherever the game is started.
GameFolders LocateGameFolders(const std::filesystem::path& programFolder, const char* xdgDataHome,
                              const char* home, const char* xdgConfigHome = nullptr);

// The player's home folder: `homeVariable` ($HOME) when it is an absolute
// path, else the one the user database gives; empty when neither has one.
std::filesystem::path HomeFolder(const char* homeVariable);

// The first data folder holding the file `relative`, or the first folder when
// none does (a missing file then reads as missing, as before).
std::filesystem::path FolderHolding(const std::vector<std::filesystem::path>& folders,
                                    const std::filesystem::path& relative);

} // namespace plumix
