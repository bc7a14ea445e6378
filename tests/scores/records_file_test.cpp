#include "scores/records_file.h"
#include "settings/scratch_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace plumix {
namespace {

using testing::FileBytes;
using testing::ScratchFolder;
using testing::WriteFile;

RecordTables Sample()
{
    RecordTables tables;
    tables.classic.At(1) = {"  Иван, the first", 123456, 10, 20, 30, 4, "01.02.2024", " good, game ", 9};
    tables.classic.At(2) = {"", -5, 0, 0, 0, 0, "", "", 0};
    tables.classic.At(3) = {"x", 2147483647, -2147483647 - 1, 1, 2, 3, "d", "c", 255};
    tables.level.At(1) = {"Ёлка", 777, 1, 2, 3, 4, "31.12.2023", "ночь", 100};
    return tables;
}

bool Empty(const RecordTables& tables)
{
    return tables.classic == RecordTable{} && tables.level == RecordTable{};
}

// The first `lines` lines of a text.
std::string Head(const std::string& text, int lines)
{
    std::size_t end = 0;
    for (int i = 0; i < lines; ++i) {
        end = text.find('\n', end) + 1;
    }
    return text.substr(0, end);
}

TEST(RecordsFile, TwoEmptyTablesMake5200ScrambledBytes)
{
    ScratchFolder folder;
    ASSERT_EQ(SaveRecords(folder / "Records", RecordTables{}), RecordsFileResult::Ok);
    const std::string bytes = FileBytes(folder / "Records");
    ASSERT_EQ(bytes.size(), 5200u);
    EXPECT_EQ(bytes.substr(0, 7), "\x0C\x08\x23\x34\x25\x0B\x0D");
    EXPECT_EQ(static_cast<unsigned char>(bytes[249] ^ SerializeRecords({})[249]), 250);
    EXPECT_EQ(static_cast<unsigned char>(bytes[250] ^ SerializeRecords({})[250]), 1);

    std::string twice = bytes;
    ScrambleRecordBytes(twice);
    EXPECT_EQ(twice, SerializeRecords({}));
    ASSERT_TRUE(ScrambleFile(folder / "Records"));
    EXPECT_EQ(FileBytes(folder / "Records"), twice);
    EXPECT_FALSE(ScrambleFile(folder / "no-folder" / "f"));
}

TEST(RecordsFile, EntriesComeBackAsTheyWereAndALoadChangesNoByte)
{
    ScratchFolder folder;
    ASSERT_EQ(SaveRecords(folder / "Records", Sample()), RecordsFileResult::Ok);
    const std::string saved = FileBytes(folder / "Records");
    RecordTables loaded;
    ASSERT_EQ(LoadRecords(folder / "Records", loaded), RecordsFileResult::Ok);
    EXPECT_EQ(FileBytes(folder / "Records"), saved);
    EXPECT_EQ(loaded.classic, Sample().classic);
    Record level = Sample().level.At(1);
    level.lines1 = level.lines2 = level.lines3 = level.lines4 = 0;  // level mode keeps no counters
    EXPECT_EQ(loaded.level.At(1), level);
}

TEST(RecordsFile, TextsAreStoredInWindows1251OnOneLine)
{
    RecordTables tables;
    tables.classic.At(1).player = "Ann\r\nBob";
    tables.classic.At(1).comment = "日本 ok";
    const std::string plain = SerializeRecords(tables);
    EXPECT_TRUE(plain.starts_with("Ann  Bob\r\n"));
    EXPECT_NE(plain.find("\r\n?? ok\r\n"), std::string::npos);
    EXPECT_TRUE(SerializeRecords(Sample()).starts_with("  \xC8\xE2\xE0\xED, the first\r\n"));
}

TEST(RecordsFile, ReadingKeepsWholePlacesUpToTheEndOrTheFirstBadNumber)
{
    const std::string plain = SerializeRecords(Sample());
    const RecordTables cut = ParseRecords(Head(plain, 2 * 9 + 4));  // place 3 cut in the middle
    EXPECT_EQ(cut.classic.At(2), Sample().classic.At(2));
    EXPECT_EQ(cut.classic.At(3), Record{});
    EXPECT_EQ(cut.level, RecordTable{});
    EXPECT_EQ(ParseRecords(Head(plain, 900)).classic, Sample().classic);
    EXPECT_EQ(ParseRecords(plain + "junk\r\n 5 \r\n").level, ParseRecords(plain).level);

    const std::string afterScore2 = plain.substr(Head(plain, 11).size());  // line 11: score of place 2
    for (const char* bad : {"abc", "", " 2147483648 ", "1.5"}) {
        const RecordTables read = ParseRecords(Head(plain, 10) + bad + "\r\n" + afterScore2);
        EXPECT_EQ(read.classic.At(1), Sample().classic.At(1)) << bad;
        EXPECT_EQ(read.classic.At(3), Record{}) << bad;
        EXPECT_EQ(read.level, RecordTable{}) << bad;
    }
}

TEST(RecordsFile, AMissingFileIsCreatedEmptyWithoutAMessage)
{
    ScratchFolder folder;
    RecordTables tables = Sample();
    EXPECT_EQ(LoadRecords(folder / "Records", tables), RecordsFileResult::Ok);
    EXPECT_TRUE(Empty(tables));
    EXPECT_EQ(FileBytes(folder / "Records"), "");
}

TEST(RecordsFile, AnUnwritablePlaceGivesTheMessageAndLosesNothing)
{
    ScratchFolder folder;
    WriteFile(folder / "plain-file", "x");
    WriteFile(folder / "Records" / "inside", "kept");  // a folder where the file should be
    for (const auto& path : {folder / "plain-file" / "Records", folder / "Records"}) {
        RecordTables tables = Sample();
        EXPECT_EQ(LoadRecords(path, tables), RecordsFileResult::Failed);
        EXPECT_TRUE(Empty(tables));
        EXPECT_EQ(SaveRecords(path, Sample()), RecordsFileResult::Failed);
    }
    EXPECT_EQ(FileBytes(folder / "Records" / "inside"), "kept");
}

TEST(RecordsFile, AReadOnlyFileIsNeitherLoadedNorOverwritten)
{
    ScratchFolder folder;
    const auto path = folder / "Records";
    // Each failed check sets one bit, so the child process can report them.
    const int failures = testing::AsBoundUser(folder.Path(), [&] {
        int failed = 0;
        if (SaveRecords(path, Sample()) != RecordsFileResult::Ok) {
            return 1;
        }
        const std::string before = FileBytes(path);
        ::chmod(path.c_str(), 0444);
        RecordTables tables;
        failed |= LoadRecords(path, tables) == RecordsFileResult::Failed ? 0 : 2;
        failed |= tables.classic == RecordTables{}.classic ? 0 : 4;
        failed |= SaveRecords(path, RecordTables{}) == RecordsFileResult::Failed ? 0 : 8;
        failed |= FileBytes(path) == before ? 0 : 16;

        // A writable file in a folder that takes no new files is still saved.
        ::chmod(path.c_str(), 0644);
        ::chmod(folder.Path().c_str(), 0555);
        failed |= SaveRecords(path, RecordTables{}) == RecordsFileResult::Ok ? 0 : 32;
        failed |= FileBytes(path).size() == 5200u ? 0 : 64;
        ::chmod(folder.Path().c_str(), 0755);
        return failed;
    });
    EXPECT_EQ(failures, 0);
}

TEST(RecordsFile, SavingFollowsALinkAndLeavesNoTemporaryFile)
{
    ScratchFolder folder;
    std::filesystem::create_directories(folder / "real");
    std::filesystem::create_symlink("real/Records", folder / "Records");
    ASSERT_EQ(SaveRecords(folder / "Records", Sample()), RecordsFileResult::Ok);
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "Records"));
    EXPECT_EQ(RecordsFromFileBytes(FileBytes(folder / "real" / "Records")).classic, Sample().classic);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder / "real"), {}), 1);
}

} // namespace
} // namespace plumix
