// A fresh folder for one test's files, removed with all it holds afterwards,
// and whole-file helpers.
#pragma once

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace plumix::testing {

namespace fs = std::filesystem;

class ScratchFolder {
public:
    explicit ScratchFolder(const fs::path& under = fs::temp_directory_path())
    {
        std::string pattern = (under / "plumix-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a scratch folder");
        }
        path_ = pattern;
    }
    ~ScratchFolder()
    {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& Path() const { return path_; }
    fs::path operator/(std::string_view name) const { return path_ / name; }

private:
    fs::path path_;
};

inline void WriteFile(const fs::path& path, std::string_view bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string FileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs `body` as a user whom file permissions bind (root writes anywhere):
// this process, or, when it is root, a child that has become "nobody" and
// owns `folder`. Returns what the body returned (0..255).
inline int AsBoundUser(const fs::path& folder, const std::function<int()>& body)
{
    constexpr uid_t nobody = 65534;
    if (::geteuid() != 0) {
        return body();
    }
    if (::chown(folder.c_str(), nobody, nobody) != 0) {
        return 253;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::_exit(::setgid(nobody) != 0 || ::setuid(nobody) != 0 ? 255 : body() & 0xff);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 254;
}

} // namespace plumix::testing
