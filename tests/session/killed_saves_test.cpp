// Saves killed at random moments (SIGKILL, as a crash or a power cut ends the
// game): the file is always the old or the new whole content, never partial.
#include "scores/records_file.h"
#include "base/file_io.h"
#include "support/child_process.h"
#include "support/record_tables.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <sys/prctl.h>
#include <thread>
#include <vector>

namespace plumix {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int Kills = 200;

// Kills `save` of `newBytes` over `oldBytes`: half of the kills up to 1.5 times
// a save's median length, half between the latest kill that left the old
// content and the earliest that left the new, where a save that is not atomic shows.
void ExpectOldOrNewEveryTime(const fs::path& file, const std::string& oldBytes, const std::string& newBytes,
                             const std::function<void()>& save)
{
    ::prctl(PR_SET_TIMERSLACK, 1);  // wake within microseconds, as a save takes
    // A save from the old content, killed `after` it starts (never when negative).
    const auto saveKilled = [&](Clock::rep after) {
        if (!ReplaceFileContents(file, oldBytes)) {
            throw std::runtime_error("cannot set the old content");
        }
        testing::Child child([&](const auto& ready) { ready(); save(); return 0; });
        const auto started = Clock::now();
        if (after >= 0) {
            // Asleep, not spinning: the child needs the processor more than we do.
            std::this_thread::sleep_until(started + Clock::duration(after));
            child.Kill();
        }
        child.Wait();
        return (Clock::now() - started).count();
    };
    std::vector<Clock::rep> saves;
    for (int i = 0; i < 9; ++i) {
        saves.push_back(saveKilled(-1));
    }
    std::nth_element(saves.begin(), saves.begin() + 4, saves.end());
    const Clock::rep limit = saves[4] * 3 / 2;
    Clock::rep lastOld = 0, firstNew = limit;
    std::mt19937 random(::getpid());
    int old = 0, saved = 0;
    for (int i = 0; i < Kills; ++i) {
        const bool near = i % 2 == 1;
        const Clock::rep after = std::uniform_int_distribution<Clock::rep>(
            near ? std::min(lastOld, firstNew) : 0, near ? std::max(lastOld, firstNew) : limit)(random);
        saveKilled(after);
        const std::string bytes = testing::FileBytes(file);
        if (bytes == oldBytes) {
            ++old;
            lastOld = std::max(lastOld, after);
        } else if (bytes == newBytes) {
            ++saved;
            firstNew = std::min(firstNew, after);
        }
    }
    EXPECT_EQ(old + saved, Kills) << "partial or mixed files after " << file.filename();
    EXPECT_GT(old, 0);  // kills landed on both sides of the replacement
    EXPECT_GT(saved, 0);
}

// Synchronizing and the settings' save go through the same replacement.
TEST(KilledSaves, RecordsAreOldOrNewNeverPartial)
{
    // In memory where it can be, so a round costs a fork and not a disk flush.
    const testing::ScratchFolder folder(::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : fs::temp_directory_path());

    const RecordTables after = testing::FilledTables(200000);
    const fs::path records = folder / "Records";
    ExpectOldOrNewEveryTime(records, RecordsToFileBytes(testing::FilledTables(100000)), RecordsToFileBytes(after),
                            [&] { RecordTables tables = after; SaveRecords(records, tables); });
}

} // namespace
} // namespace plumix
