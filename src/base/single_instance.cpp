#include "base/single_instance.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace plumix {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view RequestWord = "come-forward";

bool UsableToken(std::string_view token)
{
    const std::size_t room = MaxRequestBytes - RequestWord.size() - 2;
    return !token.empty() && token.size() <= room &&
           std::all_of(token.begin(), token.end(), [](char c) { return c > ' ' && c < 0x7f; });
}

// A folder that only we may enter, and not a link someone put in its place.
bool PrivateFolderOfOurs(const fs::path& folder)
{
    struct stat info {};
    return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
           (info.st_mode & 077) == 0;
}

} // namespace

GameLock::GameLock(const fs::path& lockFile)
{
    if (lockFile.empty()) {
        return;
    }
    // A file of our own only: O_NOFOLLOW and the owner check keep out a link
    // or a file someone else placed there.
    fd_ = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    struct stat info {};
    if (fd_ < 0 || ::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) {
        Release();
        return;
    }
    int result = 0;
    while ((result = ::flock(fd_, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    if (result == 0) {
        state_ = State::Held;
        return;
    }
    state_ = errno == EWOULDBLOCK ? State::Taken : State::Unguarded;
    Release();
}

GameLock::~GameLock()
{
    Release();
}

void GameLock::Release()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

std::string InstanceName(const fs::path& folder)
{
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
        return {};
    }
    char name[64];
    std::snprintf(name, sizeof name, "plumix-%jx-%jx", static_cast<std::uintmax_t>(info.st_dev),
                  static_cast<std::uintmax_t>(info.st_ino));
    return name;
}

fs::path PrivateRuntimeFolder(const char* xdgRuntimeDir, const fs::path& temporary, std::size_t nameLength)
{
    // A socket's path must fit the address, its terminating zero included.
    const auto fits = [nameLength](const fs::path& folder) {
        return folder.string().size() + 1 + nameLength < sizeof(sockaddr_un::sun_path);
    };
    if (xdgRuntimeDir != nullptr && fs::path(xdgRuntimeDir).is_absolute() && fits(xdgRuntimeDir) &&
        PrivateFolderOfOurs(xdgRuntimeDir)) {
        return xdgRuntimeDir;
    }
    const fs::path own = temporary / ("plumix-" + std::to_string(::geteuid()));
    ::mkdir(own.c_str(), 0700);  // an existing one is checked below like a new one
    return PrivateFolderOfOurs(own) && fits(own) ? own : fs::path();
}

MeetingPoint MeetingPointFor(const fs::path& recordsFolder, const char* xdgRuntimeDir, const fs::path& temporary)
{
    const std::string name = InstanceName(recordsFolder);
    const std::string lockName = name + ".lock";
    const fs::path folder = name.empty() ? fs::path() : PrivateRuntimeFolder(xdgRuntimeDir, temporary, lockName.size());
    if (folder.empty()) {
        return {};
    }
    return {folder / lockName, folder / name};
}

std::string ComeForwardRequest(std::string_view activationToken)
{
    std::string line(RequestWord);
    if (UsableToken(activationToken)) {
        line += ' ';
        line += activationToken;
    }
    return line + '\n';
}

std::optional<std::string> ActivationTokenOf(std::string_view line)
{
    if (!line.starts_with(RequestWord)) {
        return std::nullopt;
    }
    line.remove_prefix(RequestWord.size());
    if (line.empty()) {
        return std::string();
    }
    if (line.front() != ' ' || !UsableToken(line.substr(1))) {
        return std::nullopt;
    }
    return std::string(line.substr(1));
}

} // namespace plumix
