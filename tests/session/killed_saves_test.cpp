// Saves killed at random moments (SIGKILL, as a crash or a power cut ends the
// game): the file is always the old or the new whole content, never partial.
#include "scores/records_file.h"
#include "scores/synchronize.h"
#include "base/file_io.h"
#include "support/scratch_folder.h"
#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <functional>
#include <random>
#include <sys/prctl.h>
#include <thread>
#include <vector>

namespace plumix {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int Kills = 200;

// Sets `file` to `oldBytes`, lets a child run `save` and kills it `killAfter`
// after the child says it starts (never when negative). Returns how long the
// child ran from then.
Clock::duration SaveInChild(const fs::path& file, const std::string& oldBytes, const std::function<void()>& save,
                            Clock::duration killAfter)
{
    int ready[2];
    if (!ReplaceFileContents(file, oldBytes) || ::pipe(ready) != 0) {
        throw std::runtime_error("cannot set the old content");
    }
    const pid_t child = ::fork();
    if (child == 0) {
        (void)!::write(ready[1], "", 1);
        save();
        ::_exit(0);
    }
    ::close(ready[1]);
    char go = 0;
    (void)!::read(ready[0], &go, 1);
    ::close(ready[0]);
    const auto started = Clock::now();
    if (killAfter >= Clock::duration::zero()) {
        // Asleep, not spinning: the child needs the processor more than we do.
        std::this_thread::sleep_until(started + killAfter);
        ::kill(child, SIGKILL);
    }
    ::waitpid(child, nullptr, 0);
    return Clock::now() - started;
}

// Kills `save`, which writes `newBytes` over `oldBytes`, at random moments: half
// of the kills up to half again as long as a save takes (the median of a few
// unhurried ones: the first fork or a busy machine can take many times longer),
// the other half between the latest kill so far that left the old content and
// the earliest that left the new, where a save that is not atomic shows.
void ExpectOldOrNewEveryTime(const fs::path& file, const std::string& oldBytes, const std::string& newBytes,
                             const std::function<void()>& save)
{
    ::prctl(PR_SET_TIMERSLACK, 1);  // wake within microseconds, as a save takes
    std::vector<Clock::duration> saves;
    for (int i = 0; i < 9; ++i) {
        saves.push_back(SaveInChild(file, oldBytes, save, Clock::duration(-1)));
    }
    std::nth_element(saves.begin(), saves.begin() + 4, saves.end());
    const Clock::rep limit = saves[4].count() * 3 / 2;
    Clock::rep lastOld = 0, firstNew = limit;
    std::mt19937 random(::getpid());
    int old = 0, saved = 0;
    for (int i = 0; i < Kills; ++i) {
        const bool near = i % 2 == 1;
        const Clock::rep after = std::uniform_int_distribution<Clock::rep>(
            near ? std::min(lastOld, firstNew) : 0, near ? std::max(lastOld, firstNew) : limit)(random);
        SaveInChild(file, oldBytes, save, Clock::duration(after));
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
    // Kills landed on both sides of the moment the new content took over.
    EXPECT_GT(old, 0);
    EXPECT_GT(saved, 0);
}

RecordTables Tables(const std::string& player, int best)
{
    RecordTables tables;
    for (int place = 1; place <= RecordPlaces; ++place) {
        tables.classic.At(place) = {player + " " + std::to_string(place), best - place, 1, 2, 3, 4, "06.12.2026", "x", 5};
        tables.level.At(place) = {player, best - 2 * place, 0, 0, 0, 0, "06.12.2026", "y", 9};
    }
    return tables;
}

TEST(KilledSaves, RecordsSettingsAndTheSharedFileAreOldOrNewNeverPartial)
{
    // In memory where the system allows, so a round costs a fork and not a disk
    // flush; a kill hits a rename the same way.
    const testing::ScratchFolder folder(::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : fs::temp_directory_path());

    const RecordTables before = Tables("old", 100000), after = Tables("new", 200000);
    const fs::path records = folder / "Records";
    ExpectOldOrNewEveryTime(records, RecordsToFileBytes(before), RecordsToFileBytes(after),
                            [&] { RecordTables tables = after; SaveRecords(records, tables); });

    const Settings oldSettings{.languageFile = "Deutsch.lag", .play = {.showGrid = 1}};
    const Settings newSettings{.skinFile = "Neon.psk", .textColor = {1, 2, 3}};
    const fs::path ini = folder / "plumix.ini";
    ExpectOldOrNewEveryTime(ini, SerializeSettings(oldSettings), SerializeSettings(newSettings),
                            [&] { SaveSettings(ini, newSettings); });

    // Synchronizing writes the merge of the local tables into the shared file.
    const fs::path shared = folder / "shared" / "Records";
    fs::create_directories(shared.parent_path());
    const std::string visitor = RecordsToFileBytes(Tables("visitor", 100005));
    RecordTables merged = before;
    MergeRecordFile(visitor, merged);
    const std::string mergedBytes = RecordsToFileBytes(merged);
    ASSERT_NE(mergedBytes, visitor);
    ExpectOldOrNewEveryTime(shared, visitor, mergedBytes, [&] {
        RecordTables local = before;
        Synchronize(shared, local);
    });
}

} // namespace
} // namespace plumix
