#include "base/file_io.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace plumix {

namespace fs = std::filesystem;

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { Close(); }
    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    bool Close()
    {
        const int fd = fd_;
        fd_ = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Saving through a link must change the file it points to, not replace the
// link; the file may not exist yet.
fs::path ResolveLinks(const fs::path& path)
{
    constexpr int MaxLinks = 40;  // as the kernel allows before ELOOP
    fs::path target = path;
    std::error_code ec;
    for (int hop = 0; hop < MaxLinks && fs::is_symlink(fs::symlink_status(target, ec)); ++hop) {
        const fs::path next = fs::read_symlink(target, ec);
        if (ec) {
            break;
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target;
}

void SyncFolder(const fs::path& folder)
{
    // Makes the rename itself durable; a file system that cannot sync a
    // folder still has the complete file, so a failure here is not one.
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Valid()) {
        ::fsync(dir.Get());
    }
}

// A temporary file's name: a dot, the target's name, a dot and up to nine digits.
std::string TemporaryName(std::string_view target, std::uint64_t number)
{
    return "." + std::string(target) + "." + std::to_string(number % 1'000'000'000);
}

bool IsTemporaryOf(std::string_view file, std::string_view target)
{
    const std::string prefix = "." + std::string(target) + ".";
    if (!file.starts_with(prefix) || file.size() == prefix.size() || file.size() > prefix.size() + 9) {
        return false;
    }
    file.remove_prefix(prefix.size());
    return std::all_of(file.begin(), file.end(), [](char c) { return c >= '0' && c <= '9'; });
}

fs::path FolderOf(const fs::path& target)
{
    return target.has_parent_path() ? target.parent_path() : fs::path(".");
}

// A new file of our own beside the target, created the way any new file is,
// so the umask (and a folder's default access list) applies to it. mkstemp
// would make it 0600 and leave us to guess the mode.
int CreateTemporaryBeside(const fs::path& folder, const fs::path& name, std::string& temporary)
{
    static thread_local std::mt19937_64 random{std::random_device{}()};
    constexpr int Attempts = 100;
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        temporary = (folder / TemporaryName(name.string(), random())).string();
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

} // namespace

std::optional<std::string> ReadFileBytes(const fs::path& path, std::size_t limit)
{
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!file.Valid() || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    std::string bytes;
    const auto size = static_cast<std::uint64_t>(info.st_size);
    bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(size, limit)));
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = ::read(file.Get(), bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            break;  // the file shrank while we read it
        }
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return bytes;
}

bool EnsureWritableFile(const fs::path& path)
{
    FileDescriptor file(::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666));
    return file.Valid() && file.Close();
}

bool FileIsMissing(const fs::path& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) != 0 && errno == ENOENT;
}

bool CanReplaceFile(const fs::path& path)
{
    const fs::path target = ResolveLinks(path);
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode) || ::access(target.c_str(), W_OK) != 0) {
            return false;
        }
    } else if (errno != ENOENT) {
        return false;
    }
    return ::access(FolderOf(target).c_str(), W_OK | X_OK) == 0;
}

void RemoveLeftTemporaries(const fs::path& folder, std::initializer_list<std::string_view> names,
                           int minimumAgeSeconds)
{
    std::error_code ec;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string file = it->path().filename().string();
        const bool ours = std::any_of(names.begin(), names.end(), [&](std::string_view name) {
            return IsTemporaryOf(file, name);
        });
        std::error_code statEc;
        if (!ours || !it->is_regular_file(statEc) || it->is_symlink(statEc)) {
            continue;
        }
        const auto written = it->last_write_time(statEc);
        if (!statEc && now - written >= std::chrono::seconds(minimumAgeSeconds)) {
            fs::remove(it->path(), statEc);
        }
    }
}

bool ReplaceFileContents(const fs::path& path, std::string_view bytes)
{
    const fs::path target = ResolveLinks(path);
    std::optional<mode_t> keptMode;  // a new file takes what the umask leaves
    struct stat info {};
    const bool exists = ::stat(target.c_str(), &info) == 0;
    if (exists) {
        if (!S_ISREG(info.st_mode) || ::access(target.c_str(), W_OK) != 0) {
            return false;
        }
        keptMode = info.st_mode & 07777;
    } else if (errno != ENOENT) {
        return false;
    }

    const fs::path folder = FolderOf(target);
    std::string temporary;
    FileDescriptor file(CreateTemporaryBeside(folder, target.filename(), temporary));
    if (!file.Valid()) {
        return false;
    }
    const bool written = (!keptMode || ::fchmod(file.Get(), *keptMode) == 0) && WriteAll(file.Get(), bytes) &&
                         ::fsync(file.Get()) == 0;
    if (!file.Close() || !written || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    SyncFolder(folder);
    return true;
}

} // namespace plumix
