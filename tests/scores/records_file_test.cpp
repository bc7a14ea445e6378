#include "scores/records_file.h"
#include "settings/list_input.h"
#include "settings/scratch_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace plumix {
namespace {

using testing::FileBytes;
using testing::ScratchFolder;
using testing::WriteFile;

RecordTables SampleTables()
{
    RecordTables tables;
    Record& best = tables.classic.At(1);
    best = {"  Иван, the first", 123456, 10, 20, 30, 4, "01.02.2024", " good, game ", 9};
    tables.classic.At(2) = {"", -5, 0, 0, 0, 0, "", "", 0};
    tables.classic.At(3) = {"x", 2147483647, -2147483647 - 1, 1, 2, 3, "d", "c", 255};
    tables.level.At(1) = {"Ёлка", 777, 1, 2, 3, 4, "31.12.2023", "ночь", 100};
    return tables;
}

bool Empty(const RecordTables& tables)
{
    return tables.classic == RecordTable{} && tables.level == RecordTable{};
}

// The plain text cut after `lines` lines.
std::string FirstLines(const std::string& text, int lines)
{
    std::size_t end = 0;
    for (int i = 0; i < lines; ++i) {
        end = text.find('\n', end) + 1;
    }
    return text.substr(0, end);
}

TEST(RecordsFile, TwoEmptyTablesMake5200ScrambledBytes)
{
    const std::string plain = SerializeRecords(RecordTables{});
    EXPECT_EQ(plain.size(), 5200u);
    EXPECT_TRUE(plain.starts_with("\r\n 0 \r\n 0 \r\n"));
    ScratchFolder folder;
    ASSERT_EQ(SaveRecords(folder / "Records", RecordTables{}), RecordsFileResult::Ok);
    const std::string bytes = FileBytes(folder / "Records");
    ASSERT_EQ(bytes.size(), 5200u);
    EXPECT_EQ(bytes.substr(0, 7), "\x0C\x08\x23\x34\x25\x0B\x0D");
}

TEST(RecordsFile, ScrambleKeysRunFrom1To250AndUndoThemselves)
{
    std::string bytes(600, '\0');
    ScrambleRecordBytes(bytes);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 1);
    EXPECT_EQ(static_cast<unsigned char>(bytes[249]), 250);
    EXPECT_EQ(static_cast<unsigned char>(bytes[250]), 1);
    EXPECT_EQ(static_cast<unsigned char>(bytes[500]), 1);
    ScrambleRecordBytes(bytes);
    EXPECT_EQ(bytes, std::string(600, '\0'));

    ScratchFolder folder;
    WriteFile(folder / "f", "abc");
    ASSERT_TRUE(ScrambleFile(folder / "f"));
    EXPECT_EQ(FileBytes(folder / "f"), "\x60\x60\x60");
    ASSERT_TRUE(ScrambleFile(folder / "f"));
    EXPECT_EQ(FileBytes(folder / "f"), "abc");
    ASSERT_TRUE(ScrambleFile(folder / "new"));
    EXPECT_EQ(FileBytes(folder / "new"), "");
    EXPECT_FALSE(ScrambleFile(folder / "no-folder" / "f"));
}

TEST(RecordsFile, EntriesComeBackFromSaveAndLoadAsTheyWere)
{
    ScratchFolder folder;
    RecordTables tables = SampleTables();
    ASSERT_EQ(SaveRecords(folder / "Records", tables), RecordsFileResult::Ok);
    const std::string saved = FileBytes(folder / "Records");

    RecordTables loaded;
    ASSERT_EQ(LoadRecords(folder / "Records", loaded), RecordsFileResult::Ok);
    RecordTables expected = tables;
    expected.level.At(1).lines1 = expected.level.At(1).lines2 = 0;  // level mode keeps no counters
    expected.level.At(1).lines3 = expected.level.At(1).lines4 = 0;
    EXPECT_EQ(loaded.classic, expected.classic);
    EXPECT_EQ(loaded.level, expected.level);
    EXPECT_EQ(FileBytes(folder / "Records"), saved);  // a load leaves the file scrambled and unchanged
}

TEST(RecordsFile, TextsAreStoredInWindows1251OnOneLine)
{
    RecordTables tables;
    tables.classic.At(1).player = "Ann\r\nBob";
    tables.classic.At(1).comment = "日本 ok";
    const std::string plain = SerializeRecords(tables);
    EXPECT_TRUE(plain.starts_with("Ann  Bob\r\n"));
    EXPECT_NE(plain.find("\r\n?? ok\r\n"), std::string::npos);
    EXPECT_EQ(SerializeRecords(SampleTables()).substr(0, 19), "  \xC8\xE2\xE0\xED, the first\r\n");
    EXPECT_EQ(ParseRecords(plain).classic.At(1).player, "Ann  Bob");
}

TEST(RecordsFile, ShortFilesKeepThePlacesTheyHold)
{
    const RecordTables tables = SampleTables();
    const std::string plain = SerializeRecords(tables);

    const RecordTables cut = ParseRecords(FirstLines(plain, 2 * 9 + 4));  // place 3 cut in the middle
    EXPECT_EQ(cut.classic.At(1), tables.classic.At(1));
    EXPECT_EQ(cut.classic.At(2), tables.classic.At(2));
    EXPECT_EQ(cut.classic.At(3), Record{});
    EXPECT_EQ(cut.level, RecordTable{});

    const RecordTables classicOnly = ParseRecords(FirstLines(plain, 900));
    EXPECT_EQ(classicOnly.classic, tables.classic);
    EXPECT_EQ(classicOnly.level, RecordTable{});

    EXPECT_EQ(ParseRecords(plain + "junk\r\n 5 \r\n").level, ParseRecords(plain).level);
    EXPECT_TRUE(Empty(ParseRecords("")));
}

TEST(RecordsFile, ReadingStopsAtTheFirstBadNumberLine)
{
    const RecordTables tables = SampleTables();
    const std::string plain = SerializeRecords(tables);
    // Line 11 is the score of place 2.
    const std::string head = FirstLines(plain, 10);
    const std::string tail = plain.substr(FirstLines(plain, 11).size());
    for (const char* bad : {"abc", "", " 2147483648 ", "1.5"}) {
        SCOPED_TRACE(bad);
        const RecordTables read = ParseRecords(head + bad + "\r\n" + tail);
        EXPECT_EQ(read.classic.At(1), tables.classic.At(1));
        EXPECT_EQ(read.classic.At(2), Record{});
        EXPECT_EQ(read.classic.At(3), Record{});
        EXPECT_EQ(read.level, RecordTable{});
    }
}

TEST(RecordsFile, MissingFileIsCreatedEmptyWithoutAMessage)
{
    ScratchFolder folder;
    RecordTables tables = SampleTables();
    EXPECT_EQ(LoadRecords(folder / "Records", tables), RecordsFileResult::Ok);
    EXPECT_TRUE(Empty(tables));
    EXPECT_EQ(FileBytes(folder / "Records"), "");
}

TEST(RecordsFile, AnUnwritableTargetGivesTheMessageAndLosesNothing)
{
    ScratchFolder folder;
    WriteFile(folder / "plain-file", "x");
    RecordTables tables = SampleTables();
    EXPECT_EQ(LoadRecords(folder / "plain-file" / "Records", tables), RecordsFileResult::Failed);
    EXPECT_TRUE(Empty(tables));
    EXPECT_EQ(SaveRecords(folder / "plain-file" / "Records", SampleTables()), RecordsFileResult::Failed);

    // A folder in the file's place stays as it is.
    WriteFile(folder / "Records" / "inside", "kept");
    EXPECT_EQ(LoadRecords(folder / "Records", tables), RecordsFileResult::Failed);
    EXPECT_EQ(SaveRecords(folder / "Records", SampleTables()), RecordsFileResult::Failed);
    EXPECT_EQ(FileBytes(folder / "Records" / "inside"), "kept");
}

TEST(RecordsFile, AReadOnlyFileIsNeitherLoadedNorOverwritten)
{
    if (!testing::PermissionsBindUs()) {
        GTEST_SKIP() << "running as root, for whom read-only files and folders are writable";
    }
    ScratchFolder folder;
    RecordTables tables;
    const auto locked = folder / "locked";
    std::filesystem::create_directories(locked);
    ASSERT_EQ(SaveRecords(locked / "Records", SampleTables()), RecordsFileResult::Ok);
    const std::string before = FileBytes(locked / "Records");
    ::chmod((locked / "Records").c_str(), 0444);
    EXPECT_EQ(LoadRecords(locked / "Records", tables), RecordsFileResult::Failed);
    EXPECT_EQ(SaveRecords(locked / "Records", RecordTables{}), RecordsFileResult::Failed);
    EXPECT_EQ(FileBytes(locked / "Records"), before);

    // A writable file in a folder that takes no new files is still saved.
    ::chmod((locked / "Records").c_str(), 0644);
    ::chmod(locked.c_str(), 0555);
    EXPECT_EQ(SaveRecords(locked / "Records", RecordTables{}), RecordsFileResult::Ok);
    EXPECT_EQ(FileBytes(locked / "Records").size(), 5200u);
}

TEST(RecordsFile, SavingFollowsALinkAndLeavesNoTemporaryFiles)
{
    ScratchFolder folder;
    std::filesystem::create_directories(folder / "real");
    std::filesystem::create_symlink("real/Records", folder / "Records");
    ASSERT_EQ(SaveRecords(folder / "Records", SampleTables()), RecordsFileResult::Ok);
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "Records"));
    EXPECT_EQ(RecordsFromFileBytes(FileBytes(folder / "real" / "Records")).classic, SampleTables().classic);
    const auto count = std::distance(std::filesystem::directory_iterator(folder / "real"),
                                     std::filesystem::directory_iterator());
    EXPECT_EQ(count, 1);
}

} // namespace
} // namespace plumix
