// One game per player's files. The game that starts first on a records folder
// holds a lock for its whole run; a later start that finds it held asks the
// running game, through a socket beside the lock, to bring its window forward,
// and ends. Lock and socket lie in a private folder of the player's, named
// after the records folder's identity, so no other user can take the lock and
// keep the player out. The kernel lets go of the lock when the process ends,
// however it ends, so a game killed or a power cut leaves nothing that the next
// start would have to wait for or clean up.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace plumix {

// Shown by a later start when the running game does not answer within a second.
inline constexpr std::string_view NotAnsweringMessage =
    "Plumix is already running on these files, but it does not answer. "
    "If it has stopped responding, end it, then start the game again.";

// Where two starts on one records folder meet: the lock file and the socket.
// Both empty when there is no private folder to meet in.
struct MeetingPoint {
    std::filesystem::path lockFile;
    std::filesystem::path socket;
};

// The name of the records folder's lock and socket, from its identity on disk,
// so that every path to it (a link, ".", a bind mount) gives the same name;
// empty when the folder cannot be looked at.
std::string InstanceName(const std::filesystem::path& folder);

// A private folder of the player's: $XDG_RUNTIME_DIR when it is a folder of
// ours in which a socket path of `nameLength` characters fits, or else a folder
// of our own under `temporary`, made private. Empty when neither can be had
// safely: nobody else may place a socket where we would look.
std::filesystem::path PrivateRuntimeFolder(const char* xdgRuntimeDir, const std::filesystem::path& temporary = "/tmp",
                                           std::size_t nameLength = 0);

MeetingPoint MeetingPointFor(const std::filesystem::path& recordsFolder, const char* xdgRuntimeDir,
                             const std::filesystem::path& temporary = "/tmp");

class GameLock {
public:
    enum class State {
        Held,       // this game is the one on these files
        Taken,      // a running game of the player's holds them
        Unguarded,  // no lock to be had (no private folder, no locks on its file system): the game runs all the same
    };

    explicit GameLock(const std::filesystem::path& lockFile);
    ~GameLock();
    GameLock(const GameLock&) = delete;
    GameLock& operator=(const GameLock&) = delete;

    State Get() const { return state_; }

private:
    void Release();

    int fd_ = -1;
    State state_ = State::Unguarded;
};

// What a later start sends: one line, with the activation token its launcher
// gave it (a window may take the focus on Wayland only with one), if usable.
std::string ComeForwardRequest(std::string_view activationToken);
// The token of a request line (without its line end), empty when it carries
// none; nullopt when the line is no request.
std::optional<std::string> ActivationTokenOf(std::string_view line);

// No line of a request is longer.
inline constexpr std::size_t MaxRequestBytes = 512;
// The running game's answer once its window is in front.
inline constexpr std::string_view ComeForwardAnswer = "ok\n";

} // namespace plumix
