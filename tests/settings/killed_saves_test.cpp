// Saves killed at random moments (SIGKILL, as a crash or a power cut ends the
// game): the file is always the old or the new whole content, and it loads.
#include "scores/records_file.h"
#include "scores/synchronize.h"
#include "settings/file_io.h"
#include "settings/scratch_folder.h"
#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <algorithm>
#include <functional>
#include <random>
#include <vector>

namespace plumix {
namespace {

using testing::FileBytes;
namespace fs = std::filesystem;

constexpr int Kills = 200;

// Where the saves run: memory-backed when the system has such a folder, so a
// round costs a fork and not a disk flush; a kill hits a rename the same way.
class KillFolder {
public:
    KillFolder()
    {
        std::string pattern = "/dev/shm/plumix-kill-XXXXXX";
        if (fs::is_directory("/dev/shm") && ::mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~KillFolder()
    {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    fs::path operator/(std::string_view name) const { return (path_.empty() ? fallback_.Path() : path_) / name; }

private:
    testing::ScratchFolder fallback_;
    fs::path path_;
};

struct Outcomes {
    int old = 0;
    int saved = 0;
    int other = 0;   // neither: a partial or mixed file
    int midway = 0;  // killed while the new content was being written
};

// Removes the temporary files a killed save left beside `file`; true if there were any.
bool ClearLeftovers(const fs::path& file)
{
    bool any = false;
    for (const auto& entry : fs::directory_iterator(file.parent_path())) {
        if (entry.path().filename().string().starts_with("." + file.filename().string() + ".")) {
            fs::remove(entry.path());
            any = true;
        }
    }
    return any;
}

// Sets the file to `oldBytes`, lets a child run `save`, which writes
// `newBytes`, and kills it a random time after the child says it starts: up
// to half again as long as a save takes, so kills land all through the save,
// and some after it.
Outcomes KillWhileSaving(const fs::path& file, const std::string& oldBytes, const std::string& newBytes,
                         const std::function<void()>& save)
{
    using Clock = std::chrono::steady_clock;
    // The time from the child's start signal to its end; never killed when negative.
    const auto runChild = [&](Clock::duration killAfter) {
        if (!ReplaceFileContents(file, oldBytes)) {
            throw std::runtime_error("cannot set the old content");
        }
        int ready[2];
        if (::pipe(ready) != 0) {
            throw std::runtime_error("no pipe");
        }
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(ready[0]);
            const char go = 1;
            (void)!::write(ready[1], &go, 1);
            save();
            ::_exit(0);
        }
        ::close(ready[1]);
        char go = 0;
        (void)!::read(ready[0], &go, 1);
        const auto started = Clock::now();
        ::close(ready[0]);
        if (killAfter >= Clock::duration::zero()) {
            while (Clock::now() - started < killAfter) {
                // a sleep would overshoot a save of a few microseconds
            }
            ::kill(child, SIGKILL);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return Clock::now() - started;
    };
    // The median of a few unhurried saves: the first fork or a busy machine
    // can take many times longer.
    std::vector<Clock::duration> saves;
    for (int i = 0; i < 9; ++i) {
        saves.push_back(runChild(Clock::duration(-1)));
    }
    std::nth_element(saves.begin(), saves.begin() + 4, saves.end());

    std::mt19937 random(::getpid());
    std::uniform_int_distribution<Clock::rep> delay(0, saves[4].count() * 3 / 2);
    Outcomes outcomes;
    for (int i = 0; i < Kills; ++i) {
        runChild(Clock::duration(delay(random)));
        const std::string bytes = FileBytes(file);
        (bytes == oldBytes ? outcomes.old : bytes == newBytes ? outcomes.saved : outcomes.other)++;
        outcomes.midway += ClearLeftovers(file) ? 1 : 0;
    }
    return outcomes;
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

void ExpectOldOrNewEveryTime(const Outcomes& outcomes)
{
    EXPECT_EQ(outcomes.other, 0);
    EXPECT_EQ(outcomes.old + outcomes.saved, Kills);
    // Kills landed on both sides of the moment the new content took over.
    EXPECT_GT(outcomes.old, 0);
    EXPECT_GT(outcomes.saved, 0);
    std::printf("old %d, new %d of %d kills, %d of them while the new content was written\n", outcomes.old,
                outcomes.saved, Kills, outcomes.midway);
}

TEST(KilledSaves, RecordsSettingsAndTheSharedFileAreOldOrNewNeverPartial)
{
    const KillFolder folder;

    const RecordTables before = Tables("old", 100000), after = Tables("new", 200000);
    const fs::path records = folder / "Records";
    ExpectOldOrNewEveryTime(KillWhileSaving(records, RecordsToFileBytes(before), RecordsToFileBytes(after),
                                            [&] { SaveRecords(records, after); }));
    RecordTables loaded;
    EXPECT_EQ(LoadRecords(records, loaded), RecordsFileResult::Ok);
    EXPECT_TRUE(loaded.classic == before.classic || loaded.classic == after.classic);

    const Settings oldSettings{.languageFile = "Deutsch.lag", .showGrid = 1};
    const Settings newSettings{.skinFile = "Neon.psk", .textColor = {1, 2, 3}};
    const fs::path ini = folder / "plumix.ini";
    ExpectOldOrNewEveryTime(KillWhileSaving(ini, SerializeSettings(oldSettings), SerializeSettings(newSettings),
                                            [&] { SaveSettings(ini, newSettings); }));
    const Settings settings = LoadSettings(ini);
    EXPECT_TRUE(settings == oldSettings || settings == newSettings);

    // Synchronizing writes the merge of the local tables into the shared file.
    const fs::path shared = folder / "shared" / "Records";
    fs::create_directories(shared.parent_path());
    RecordTables visitorTables;
    visitorTables.classic.At(1) = {"visitor", 99950, 0, 0, 0, 1, "05.12.2026", "from afar", 3};
    visitorTables.level.At(1) = {"visitor", 99991, 0, 0, 0, 0, "05.12.2026", "", 40};
    const std::string visitor = RecordsToFileBytes(visitorTables);
    RecordTables merged = before;
    const auto mergedBytes = MergeSharedFile(visitor, merged);
    ASSERT_TRUE(mergedBytes);
    ExpectOldOrNewEveryTime(KillWhileSaving(shared, visitor, *mergedBytes, [&] {
        RecordTables local = before;
        Synchronize(shared, local);
    }));
    RecordTables again = before;
    EXPECT_TRUE(Synchronize(shared, again));  // the file left behind is always a record file
}

} // namespace
} // namespace plumix
