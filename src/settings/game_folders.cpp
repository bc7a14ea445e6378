#include "settings/game_folders.h"

namespace plumix {

namespace fs = std::filesystem;

namespace {

bool IsFolder(const fs::path& path)
{
    std::error_code ec;
    return fs::is_directory(path, ec);
}

bool IsFile(const fs::path& path)
{
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

} // namespace

GameFolders LocateGameFolders(const fs::path& programFolder, const char* xdgDataHome, const char* home)
{
    const fs::path installedData = (programFolder / InstalledDataFolder).lexically_normal();
    // Data beside the program means a game folder of its own, however it
    // was laid out: never mistake it for an installation.
    if (IsFolder(programFolder / "Skins") || !IsFolder(installedData)) {
        return {".", {"."}, false};
    }
    fs::path base;
    if (xdgDataHome != nullptr && *xdgDataHome != '\0' && fs::path(xdgDataHome).is_absolute()) {
        base = xdgDataHome;
    } else if (home != nullptr && *home != '\0') {
        base = fs::path(home) / ".local" / "share";
    } else {
        base = ".";
    }
    const fs::path user = base / "plumix";
    std::error_code ec;
    fs::create_directories(user, ec);
    return {user, {user, installedData}, true};
}

fs::path FolderHolding(const std::vector<fs::path>& folders, const fs::path& relative)
{
    for (const fs::path& folder : folders) {
        if (IsFile(folder / relative)) {
            return folder;
        }
    }
    return folders.empty() ? fs::path(".") : folders.front();
}

} // namespace plumix
