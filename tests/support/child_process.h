// A forked child, for what a test cannot do in its own process: be killed,
// hold a lock, be another user, live under a limit.
#pragma once

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace plumix::testing {

inline constexpr uid_t Nobody = 65534;

// Runs `body` in a child, as "nobody" when `asNobody` and this process is root
// (root writes anywhere). The constructor returns once the body calls `ready`
// or ends; what the body returns (0..255) is the exit status. A child still
// running when the object goes is killed.
class Child {
public:
    explicit Child(const std::function<int(const std::function<void()>& ready)>& body, bool asNobody = false)
    {
        int said[2];
        if (::pipe2(said, O_CLOEXEC) != 0 || (pid_ = ::fork()) < 0) {
            throw std::runtime_error("cannot start a child process");
        }
        if (pid_ == 0) {
            const bool dropped = !asNobody || ::geteuid() != 0 || (::setgid(Nobody) == 0 && ::setuid(Nobody) == 0);
            ::_exit(dropped ? body([&] { (void)!::write(said[1], "", 1); }) & 0xff : 255);
        }
        ::close(said[1]);
        char byte = 0;
        ready_ = ::read(said[0], &byte, 1) == 1;
        ::close(said[0]);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child() { Kill(); }

    bool Ready() const { return ready_; }  // false: the body ended without calling `ready`
    // The exit status once the child has ended; 254 when a signal ended it.
    int Wait() { return End(false); }
    int Kill() { return End(true); }

private:
    int End(bool kill)
    {
        if (pid_ > 0) {
            if (kill) {
                ::kill(pid_, SIGKILL);
            }
            int status = 0;
            ::waitpid(pid_, &status, 0);
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 254;
            pid_ = -1;
        }
        return status_;
    }

    pid_t pid_ = -1;
    bool ready_ = false;
    int status_ = -1;
};

} // namespace plumix::testing
