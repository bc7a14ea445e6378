// One game per records folder: the lock, as processes see it, and where the
// two starts meet.
#include "support/scratch_folder.h"
#include "base/single_instance.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace plumix {
namespace {

namespace fs = std::filesystem;
using State = RecordsFolderLock::State;

// A child process that takes the folder's lock and holds it until killed.
pid_t HoldInChild(const fs::path& folder)
{
    int ready[2];
    if (::pipe(ready) != 0) {
        return -1;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        const RecordsFolderLock lock(folder);
        const char held = lock.Get() == State::Held ? 'y' : 'n';
        (void)!::write(ready[1], &held, 1);
        ::pause();
        ::_exit(0);
    }
    ::close(ready[1]);
    char held = 0;
    (void)!::read(ready[0], &held, 1);
    ::close(ready[0]);
    return held == 'y' ? child : -1;
}

TEST(SingleInstance, ARunningGameHoldsItsFolderUntilItDiesHoweverItDies)
{
    const testing::ScratchFolder scratch;
    const fs::path records = scratch / "records", other = scratch / "other", link = scratch / "link";
    fs::create_directories(records);
    fs::create_directories(other);
    fs::create_directory_symlink(records, link);

    const pid_t game = HoldInChild(records);
    ASSERT_GT(game, 0);
    EXPECT_EQ(RecordsFolderLock(records).Get(), State::Taken);
    EXPECT_EQ(RecordsFolderLock(link).Get(), State::Taken);  // the same folder by another path
    EXPECT_EQ(RecordsFolderLock(other).Get(), State::Held);  // another installation's
    EXPECT_EQ(RecordsFolderLock(scratch / "missing").Get(), State::Unguarded);
    EXPECT_TRUE(fs::is_empty(records));  // nothing left in the player's folder

    // Killed without a chance to clean up: the next start takes over at once.
    ::kill(game, SIGKILL);
    ::waitpid(game, nullptr, 0);
    const RecordsFolderLock next(link);
    EXPECT_EQ(next.Get(), State::Held);
    EXPECT_EQ(RecordsFolderLock(records).Get(), State::Taken);  // ...and holds it in turn

    EXPECT_EQ(InstanceName(link), InstanceName(records));
    EXPECT_NE(InstanceName(other), InstanceName(records));
    EXPECT_EQ(InstanceName(scratch / "missing"), "");
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
