// Files no program of ours wrote whole: every reader against junk comes back at
// once, with no crash, hang or unbounded growth; saves killed at random moments
// (SIGKILL, as a crash or a power cut ends the game) leave the old or the new
// whole content, never a part.
#include "base/file_io.h"
#include "scores/records_file.h"
#include "settings/language.h"
#include "settings/settings_file.h"
#include "settings/skin.h"
#include "sound/wav.h"
#include "support/child_process.h"
#include "support/record_tables.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace plumix {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using testing::FileBytes;
using testing::ScratchFolder;
using testing::WriteFile;

TEST(MalformedFiles, EveryReaderComesBackSane)
{
    // Random bytes are the fuzzing corpus's; here what it cannot hold: inputs of
    // megabytes whose lines hold no number 0..255, so nothing may be taken from them.
    TextTable english{};
    FillDefaultTexts(english);
    std::string huge, negative;
    for (int i = 0; i < 800; ++i) {
        huge += "99999999999999999999999\r\n 4294967296 \r\n";
        negative += "-1\r\n -300, -2\r\n";
    }
    for (const std::string& bytes : {std::string(10'000'000, '7'), huge, negative}) {
        SCOPED_TRACE(bytes.substr(0, 30));
        ScratchFolder folder;
        WriteFile(folder / "plumix.ini", bytes);
        const Settings settings = LoadSettings(folder / "plumix.ini");
        EXPECT_EQ(settings, (Settings{.languageFile = settings.languageFile, .skinFile = settings.skinFile}));
        // Behind a name and a version line, so that the numbers are read.
        WriteFile(folder / "bad.lag", "Bad\r\n1.4\r\n" + bytes);
        TextTable texts;
        LoadLanguage(texts, "bad.lag", folder.Path());
        EXPECT_EQ(texts, english);
        WriteFile(folder / "Skins/bad.psk", "Bad\r\n1.4\r\n" + bytes);
        const SkinFileContents skin = ReadSkinFile({folder.Path()}, "bad.psk");
        EXPECT_TRUE(skin.status != SkinReadStatus::Missing && !skin.text && !skin.back);
        WriteFile(folder / "Records", bytes);
        RecordTables tables;
        EXPECT_TRUE(LoadRecords(folder / "Records", tables).ok);
        EXPECT_EQ(FileBytes(folder / "Records"), bytes);  // the game's own file, left as it is
        EXPECT_EQ(ReadRecords(bytes).tables.classic, RecordTable{});
        WriteFile(folder / "bad.wav", bytes);
        EXPECT_FALSE(ReadWavFile(folder / "bad.wav"));
    }

    // A pipe in place of a file would block a reader forever.
    ScratchFolder folder;
    ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
    EXPECT_EQ(LoadSettings(folder / "pipe"), Settings{});
    RecordTables tables;
    EXPECT_FALSE(LoadRecords(folder / "pipe", tables).ok);
    fs::create_directories(folder / "Skins");
    ASSERT_EQ(::mkfifo((folder / "Skins/pipe").c_str(), 0600), 0);
    EXPECT_EQ(ReadSkinFile({folder.Path()}, "pipe").status, SkinReadStatus::Missing);
    EXPECT_FALSE(ReadWavFile(folder / "pipe"));
}

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
