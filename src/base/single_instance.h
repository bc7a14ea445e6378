// One game per player's files. The game that starts first on a records folder
// holds a lock on that folder for its whole run; a later start that finds it
// held asks the running game, through a socket in the player's runtime folder,
// to bring its window forward, and ends. The kernel lets go of the lock when
// the process ends, however it ends, so a game killed or a power cut leaves
// nothing behind that the next start would have to wait for or clean up.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace plumix {

class RecordsFolderLock {
public:
    enum class State {
        Held,       // this game is the one on these files
        Taken,      // a running game holds them
        Unguarded,  // no lock to be had (the folder cannot be opened, the file system has no locks)
    };

    explicit RecordsFolderLock(const std::filesystem::path& folder);
    ~RecordsFolderLock();
    RecordsFolderLock(const RecordsFolderLock&) = delete;
    RecordsFolderLock& operator=(const RecordsFolderLock&) = delete;

    State Get() const { return state_; }

private:
    int fd_ = -1;
    State state_ = State::Unguarded;
};

// The name of the running game's socket for a records folder, from the
// folder's identity on disk, so that every path to it (a link, ".", a bind
// mount) gives the same name; empty when the folder cannot be looked at.
std::string InstanceName(const std::filesystem::path& folder);

// Where the socket lives: $XDG_RUNTIME_DIR when it is a folder of ours, or
// else a folder of our own under `temporary`, made private. Empty when neither
// can be had safely: nobody else may place a socket where we would look.
std::filesystem::path PrivateRuntimeFolder(const char* xdgRuntimeDir,
                                           const std::filesystem::path& temporary = "/tmp");

// What a later start sends: one line, with the activation token its launcher
// gave it (a window may take the focus on Wayland only with one), if usable.
std::string ComeForwardRequest(std::string_view activationToken);
// The token of a request line (without its line end), empty when it carries
// none; nullopt when the line is no request.
std::optional<std::string> ActivationTokenOf(std::string_view line);

// No line of a request is longer.
inline constexpr std::size_t MaxRequestBytes = 512;

} // namespace plumix
