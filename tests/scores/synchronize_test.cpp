#include "scores/records_file.h"
#include "scores/synchronize.h"
#include "settings/scratch_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace plumix {
namespace {

using testing::FileBytes;
using testing::ScratchFolder;
using testing::WriteFile;

Record Entry(std::string player, std::int32_t score)
{
    return {std::move(player), score, 1, 2, 3, 4, "01.02.2024", "c", 3};
}

// The level-mode table keeps no line counters.
Record LevelEntry(std::string player, std::int32_t score)
{
    return {std::move(player), score, 0, 0, 0, 0, "01.02.2024", "c", 12};
}

// Places 1..n of both tables scoring 1000, 990, ...
RecordTables Local(int places = 100)
{
    RecordTables tables;
    for (int p = 1; p <= places; ++p) {
        tables.classic.At(p) = Entry("local" + std::to_string(p), 1010 - 10 * p);
        tables.level.At(p) = LevelEntry("lv" + std::to_string(p), 1010 - 10 * p);
    }
    return tables;
}

// The first `lines` lines of the plain text of `tables`.
std::string PlainOfLines(const RecordTables& tables, int lines)
{
    std::string plain = SerializeRecords(tables);
    std::size_t end = 0;
    for (int i = 0; i < lines; ++i) {
        end = plain.find('\n', end) + 1;
    }
    plain.resize(end);
    return plain;
}

std::string Scrambled(std::string plain)
{
    ScrambleRecordBytes(plain);
    return plain;
}

TEST(MergeRecords, IncomingPlacesGoInOrderAboveTheFirstLowerScoreAndTiesStayOut)
{
    RecordTables tables = Local();
    RecordTable incoming;
    incoming.At(1) = Entry("top", 5000);       // above local place 1
    incoming.At(2) = Entry("stranger", 990);   // ties local place 2, other player
    incoming.At(3) = Entry("mid", 995);        // between places 1 and 2
    incoming.At(4) = Entry("mid twin", 995);   // ties the one just taken
    incoming.At(5) = Entry("low", -100);       // below every place: no room
    incoming.At(6) = Entry("never", 7000);     // beyond the count given
    MergeRecords(tables.classic, incoming, 5);

    EXPECT_EQ(tables.classic.At(1).player, "top");
    EXPECT_EQ(tables.classic.At(2).player, "local1");
    EXPECT_EQ(tables.classic.At(3).player, "mid");
    EXPECT_EQ(tables.classic.At(4).player, "local2");
    EXPECT_EQ(tables.classic.At(100).player, "local98");  // two insertions dropped 99 and 100
    EXPECT_EQ(tables.classic.At(3), incoming.At(3));

    // Empty incoming places never enter: they meet an equal 0 or no lower score.
    RecordTables sparse = Local(10);
    MergeRecords(sparse.classic, RecordTable{}, RecordPlaces);
    EXPECT_EQ(sparse.classic, Local(10).classic);
}

TEST(Synchronize, MergesBothTablesAndWritesThemBackScrambledThenASecondRunChangesNothing)
{
    ScratchFolder folder;
    const auto shared = folder / "Records";
    RecordTables other;
    other.classic.At(1) = Entry("far away", 2000);
    other.level.At(1) = LevelEntry("levels", 995);
    WriteFile(shared, RecordsToFileBytes(other));

    RecordTables tables = Local();
    ASSERT_TRUE(Synchronize(shared, tables));
    EXPECT_EQ(tables.classic.At(1), other.classic.At(1));
    EXPECT_EQ(tables.classic.At(100).player, "local99");
    EXPECT_EQ(tables.level.At(2), other.level.At(1));
    const std::string written = FileBytes(shared);
    EXPECT_EQ(written, RecordsToFileBytes(tables));

    const RecordTables once = tables;
    ASSERT_TRUE(Synchronize(shared, tables));
    EXPECT_EQ(tables.classic, once.classic);
    EXPECT_EQ(tables.level, once.level);
    EXPECT_EQ(FileBytes(shared), written);
    // Only the shared file was written: no temporary file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

TEST(Synchronize, EmptyOrPartialSharedFilesTakeNothingMissingAndReceiveBothTablesInFull)
{
    ScratchFolder folder;
    const auto shared = folder / "Records";
    const RecordTables local = Local(30);

    for (const std::string& file : {RecordsToFileBytes(RecordTables{}), std::string()}) {
        WriteFile(shared, file);
        RecordTables tables = local;
        ASSERT_TRUE(Synchronize(shared, tables)) << file.size();
        EXPECT_EQ(tables.classic, local.classic);
        EXPECT_EQ(tables.level, local.level);
        EXPECT_EQ(FileBytes(shared), RecordsToFileBytes(local));
    }
    EXPECT_EQ(RecordsToFileBytes(RecordTables{}).size(), 5200u);

    // Another installation that wrote only its Classic table.
    RecordTables other;
    other.classic.At(1) = Entry("classic only", 5000);
    WriteFile(shared, Scrambled(PlainOfLines(other, 900)));
    RecordTables tables = local;
    ASSERT_TRUE(Synchronize(shared, tables));
    EXPECT_EQ(tables.classic.At(1).player, "classic only");
    EXPECT_EQ(tables.level, local.level);
    EXPECT_EQ(RecordsFromFileBytes(FileBytes(shared)).level, local.level);
    EXPECT_EQ(FileBytes(shared), RecordsToFileBytes(tables));

    // Whole places of either table are enough; lines after the 1400th are ignored.
    const auto counted = ParseSharedRecords(PlainOfLines(other, 900 + 2 * 5));
    ASSERT_TRUE(counted);
    EXPECT_EQ(counted->classicPlaces, 100);
    EXPECT_EQ(counted->levelPlaces, 2);
    EXPECT_TRUE(ParseSharedRecords(SerializeRecords(other) + "trailing junk\r\n"));
}

TEST(Synchronize, AFileThatIsNoRecordFileIsLeftAsItWasAndChangesNoTable)
{
    ScratchFolder folder;
    const auto shared = folder / "Records";
    RecordTables other;
    other.classic.At(1) = Entry("far away", 2000);
    std::string badNumber = SerializeRecords(other);
    badNumber.replace(badNumber.find(" 2000 "), 6, "lots");
    // The last line of the first level-mode place is its level.
    std::string level300 = PlainOfLines(other, 900 + 5);
    level300.replace(level300.size() - 5, 5, " 300 \r\n");

    const std::vector<std::string> files = {
        SerializeRecords(other),                 // never scrambled
        Scrambled(PlainOfLines(other, 9 + 4)),   // place 2 cut in the middle
        Scrambled(PlainOfLines(other, 900 + 3)), // a level-mode place cut in the middle
        Scrambled(badNumber),                    // text where a number belongs
        Scrambled(level300),                     // a level no byte holds
        "\x01\x02\x03 some other file",
    };
    for (const std::string& file : files) {
        WriteFile(shared, file);
        RecordTables tables = Local();
        EXPECT_FALSE(Synchronize(shared, tables));
        EXPECT_EQ(tables.classic, Local().classic);
        EXPECT_EQ(FileBytes(shared), file);
    }
}

TEST(Synchronize, AMissingOrUnwritableFileFailsAndChangesNothing)
{
    ScratchFolder folder;
    RecordTables other;
    other.classic.At(1) = Entry("far away", 2000);
    RecordTables tables = Local();

    EXPECT_FALSE(Synchronize(folder / "Records", tables));
    EXPECT_FALSE(std::filesystem::exists(folder / "Records"));
    EXPECT_FALSE(Synchronize({}, tables));
    std::filesystem::create_directories(folder / "dir" / "Records");
    EXPECT_FALSE(Synchronize(folder / "dir" / "Records", tables));

    // No room for the temporary file's name beside it: not writable, even for root.
    const auto longName = folder / std::string(250, 'R');
    WriteFile(longName, RecordsToFileBytes(other));
    EXPECT_FALSE(Synchronize(longName, tables));
    EXPECT_EQ(FileBytes(longName), RecordsToFileBytes(other));
    EXPECT_EQ(tables.classic, Local().classic);

    if (testing::PermissionsBindUs()) {
        const auto readOnly = folder / "Records";
        WriteFile(readOnly, RecordsToFileBytes(other));
        ::chmod(readOnly.c_str(), 0444);
        EXPECT_FALSE(Synchronize(readOnly, tables));
        EXPECT_EQ(FileBytes(readOnly), RecordsToFileBytes(other));
    }
    EXPECT_EQ(tables.classic, Local().classic);
    EXPECT_EQ(tables.level, Local().level);
}

TEST(Synchronize, TheSharedFileLivesInTheHomeFolder)
{
    EXPECT_EQ(SharedRecordsPath("/home/ann"), std::filesystem::path("/home/ann/Records"));
    EXPECT_TRUE(SharedRecordsPath(nullptr).empty());
    EXPECT_TRUE(SharedRecordsPath("").empty());
}

} // namespace
} // namespace plumix
