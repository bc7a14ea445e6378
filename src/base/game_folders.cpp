#include "base/game_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <vector>

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

bool IsAbsolute(const char* path)
{
    return path != nullptr && *path == '/';
}

} // namespace

GameFolders LocateGameFolders(const fs::path& programFolder, const char* xdgDataHome, const char* home,
                              const char* xdgConfigHome)
{
    const fs::path installedData = (programFolder / InstalledDataFolder).lexically_normal();
    // Data beside the program means a game folder of its own, however it
    // was laid out: never mistake it for an installation. Its files are the
    // ones beside it wherever it was started from, as a program started from
    // its icon always ran in its folder.
    if (IsFolder(programFolder / "Skins") || !IsFolder(installedData)) {
        return {programFolder, {programFolder}, false};
    }
    const auto below = [home](const char* variable, const char* fallback) -> fs::path {
        if (IsAbsolute(variable)) {
            return fs::path(variable) / "plumix";
        }
        return IsAbsolute(home) ? fs::path(home) / fallback / "plumix" : fs::path();
    };
    fs::path user = below(xdgDataHome, ".local/share");
    std::error_code ec;
    if (!user.empty() && fs::equivalent(user, installedData, ec)) {
        user = below(xdgConfigHome, ".config");
    }
    if (user.empty()) {
        return {{}, {installedData}, true};
    }
    fs::create_directories(user, ec);
    return {user, {user, installedData}, true};
}

fs::path HomeFolder(const char* homeVariable)
{
    if (IsAbsolute(homeVariable)) {
        return homeVariable;
    }
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        IsAbsolute(found->pw_dir)) {
        return found->pw_dir;
    }
    return {};
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
