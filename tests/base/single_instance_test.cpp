// One game per records folder: the lock, as processes see it, and where two starts meet.
#include "base/single_instance.h"
#include "support/child_process.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

namespace plumix {
namespace {

namespace fs = std::filesystem;
using State = GameLock::State;

TEST(SingleInstance, ARunningGameHoldsItsFilesUntilItDiesAndNobodyElseCanKeepThePlayerOut)
{
    const testing::ScratchFolder scratch;
    const fs::path records = scratch / "records", other = scratch / "other", link = scratch / "link";
    const fs::path run = scratch / "run";
    for (const auto& folder : {records, other, run}) {
        fs::create_directory(folder);
    }
    ::chmod(run.c_str(), 0700);
    fs::create_directory_symlink(records, link);
    const auto lockOf = [&](const fs::path& folder) { return MeetingPointFor(folder, run.c_str()).lockFile; };
    ASSERT_EQ(lockOf(link), lockOf(records));  // the same folder by another path

    // Another user locks the records folder (all of ours they can reach): the player's game still locks.
    if (::geteuid() == 0) {
        ::chmod(scratch.Path().c_str(), 0755);
        const fs::path playersLock = lockOf(records);
        testing::Child stranger(
            [&](const auto& ready) {
                const int folder = ::open(records.c_str(), O_RDONLY | O_DIRECTORY);
                if (folder >= 0 && ::flock(folder, LOCK_EX | LOCK_NB) == 0 &&
                    ::open(playersLock.c_str(), O_RDWR | O_CREAT, 0600) < 0) {
                    ready();
                    ::pause();
                }
                return 1;
            },
            true);
        ASSERT_TRUE(stranger.Ready());
        EXPECT_EQ(GameLock(lockOf(records)).Get(), State::Held);
    }

    testing::Child game([&](const auto& ready) {
        const GameLock held(lockOf(records));
        if (held.Get() == State::Held) {
            ready();
            ::pause();
        }
        return 1;
    });
    ASSERT_TRUE(game.Ready());
    EXPECT_EQ(GameLock(lockOf(records)).Get(), State::Taken);
    EXPECT_EQ(GameLock(lockOf(link)).Get(), State::Taken);
    EXPECT_EQ(GameLock(lockOf(other)).Get(), State::Held);  // another installation's
    EXPECT_EQ(GameLock(lockOf(scratch / "missing")).Get(), State::Unguarded);
    EXPECT_TRUE(fs::is_empty(records));  // nothing left in the player's folder
    struct stat info {};
    ASSERT_EQ(::stat(lockOf(records).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    // Killed without a chance to clean up: the next start takes over at once, and holds it in turn.
    game.Kill();
    const GameLock next(lockOf(link));
    EXPECT_EQ(std::pair(next.Get(), GameLock(lockOf(records)).Get()), std::pair(State::Held, State::Taken));

    // A link placed where the lock would be is not the player's lock: no lock, but no lockout.
    fs::create_directory(scratch / "third");
    fs::create_symlink(scratch / "elsewhere", lockOf(scratch / "third"));
    EXPECT_EQ(GameLock(lockOf(scratch / "third")).Get(), State::Unguarded);
}

TEST(SingleInstance, TheStartsMeetOnlyInAPrivateFolderOfThePlayers)
{
    const testing::ScratchFolder scratch;
    const fs::path own = scratch / ("plumix-" + std::to_string(::geteuid()));
    const fs::path runtime = scratch / "runtime";
    fs::create_directories(runtime);
    ::chmod(runtime.c_str(), 0700);
    EXPECT_EQ(PrivateRuntimeFolder(runtime.c_str(), scratch.Path()), runtime);
    EXPECT_FALSE(fs::exists(own));

    // Open to others, relative or missing: a private folder of our own instead.
    ::chmod(runtime.c_str(), 0755);
    for (const char* unfit : {runtime.c_str(), "relative/runtime", "", static_cast<const char*>(nullptr)}) {
        EXPECT_EQ(PrivateRuntimeFolder(unfit, scratch.Path()), own) << (unfit ? unfit : "unset");
    }
    struct stat info {};
    ASSERT_EQ(::stat(own.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    // Too long for a socket's address: our own folder instead.
    const fs::path deep = runtime / std::string(100, 'd');
    fs::create_directories(deep);
    ::chmod(deep.c_str(), 0700);
    const MeetingPoint point = MeetingPointFor(scratch.Path(), deep.c_str(), scratch.Path());
    EXPECT_EQ(point.socket.parent_path(), own);
    EXPECT_EQ(point.lockFile.parent_path(), own);
    EXPECT_LT(point.socket.string().size(), 108u);

    // Someone else's place where ours would be: no meeting point at all.
    fs::remove(own);
    fs::create_directory_symlink(runtime, own);
    EXPECT_EQ(PrivateRuntimeFolder(nullptr, scratch.Path()), fs::path());
    fs::remove(own);
    fs::create_directory(own);
    ::chmod(own.c_str(), 0777);
    EXPECT_EQ(PrivateRuntimeFolder(nullptr, scratch.Path()), fs::path());
}

} // namespace
} // namespace plumix
