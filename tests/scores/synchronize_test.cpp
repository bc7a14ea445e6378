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

Record Entry(std::string player, std::int32_t score, bool classic = true)
{
    const int lines = classic ? 1 : 0;  // the level-mode table keeps no counters
    return {std::move(player), score, lines, lines, lines, lines, "01.02.2024", "c", 3};
}

// Places 1..n of both tables scoring 1000, 990, ...
RecordTables Local(int places = RecordPlaces)
{
    RecordTables tables;
    for (int p = 1; p <= places; ++p) {
        tables.classic.At(p) = Entry("local" + std::to_string(p), 1010 - 10 * p);
        tables.level.At(p) = Entry("lv" + std::to_string(p), 1010 - 10 * p, false);
    }
    return tables;
}

RecordTables OneVisitor()
{
    RecordTables tables;
    tables.classic.At(1) = Entry("visitor", 5000);
    return tables;
}

// The first `lines` lines of the tables' plain text.
std::string PlainOfLines(const RecordTables& tables, int lines)
{
    std::string plain = SerializeRecords(tables);
    std::size_t end = 0;
    for (int i = 0; i < lines; ++i) {
        end = plain.find('\n', end) + 1;
    }
    return plain.substr(0, end);
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
    incoming.At(1) = Entry("top", 5000);      // above local place 1
    incoming.At(2) = Entry("stranger", 990);  // ties local place 2, another player
    incoming.At(3) = Entry("mid", 995);       // between the old places 1 and 2
    incoming.At(4) = Entry("mid twin", 995);  // ties the one just taken
    incoming.At(5) = Entry("low", -100);      // below every place
    incoming.At(6) = Entry("never", 7000);    // beyond the count given
    MergeRecords(tables.classic, incoming, 5);

    const char* expected[] = {"top", "local1", "mid", "local2", "local3"};
    for (int p = 1; p <= 5; ++p) {
        EXPECT_EQ(tables.classic.At(p).player, expected[p - 1]) << p;
    }
    EXPECT_EQ(tables.classic.At(100).player, "local98");  // two insertions dropped two places

    // Empty incoming places never enter: they meet an equal 0 or no lower score.
    RecordTables sparse = Local(10);
    MergeRecords(sparse.classic, RecordTable{}, RecordPlaces);
    EXPECT_EQ(sparse.classic, Local(10).classic);
}

TEST(Synchronize, WritesTheMergeBackScrambledAndASecondRunChangesNothing)
{
    ScratchFolder folder;
    const auto shared = folder / "Records";
    RecordTables other = OneVisitor();
    other.level.At(1) = Entry("levels", 995, false);
    WriteFile(shared, RecordsToFileBytes(other));

    RecordTables tables = Local();
    ASSERT_TRUE(Synchronize(shared, tables));
    EXPECT_EQ(tables.classic.At(1), other.classic.At(1));
    EXPECT_EQ(tables.level.At(2), other.level.At(1));
    const std::string written = FileBytes(shared);
    EXPECT_EQ(written, RecordsToFileBytes(tables));

    const RecordTables once = tables;
    ASSERT_TRUE(Synchronize(shared, tables));
    EXPECT_EQ(tables.classic, once.classic);
    EXPECT_EQ(tables.level, once.level);
    EXPECT_EQ(FileBytes(shared), written);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);  // no temporary left
}

TEST(Synchronize, EmptyAndPartialFilesTakeWhatTheyHoldAndReceiveBothTablesInFull)
{
    ScratchFolder folder;
    const auto shared = folder / "Records";
    const RecordTables local = Local(30);
    const std::string classicOnly = Scrambled(PlainOfLines(OneVisitor(), 900));
    for (const std::string& file : {RecordsToFileBytes(RecordTables{}), std::string(), classicOnly}) {
        WriteFile(shared, file);
        RecordTables tables = local;
        ASSERT_TRUE(Synchronize(shared, tables)) << file.size();
        EXPECT_EQ(tables.classic.At(1).player, file == classicOnly ? "visitor" : "local1");
        EXPECT_EQ(tables.level, local.level);
        EXPECT_EQ(FileBytes(shared), RecordsToFileBytes(tables));
    }
    EXPECT_EQ(RecordsToFileBytes(RecordTables{}).size(), 5200u);
    EXPECT_TRUE(ParseSharedRecords(SerializeRecords(OneVisitor()) + "after line 1400\r\n"));
}

TEST(Synchronize, AFileThatIsNoRecordFileIsLeftAsItWasAndChangesNoTable)
{
    ScratchFolder folder;
    const auto shared = folder / "Records";
    std::string badNumber = SerializeRecords(OneVisitor());
    badNumber.replace(badNumber.find(" 5000 "), 6, "lots");
    std::string level300 = PlainOfLines(OneVisitor(), 900 + 5);  // ends with a level line
    level300.replace(level300.size() - 5, 5, " 300 \r\n");

    for (const std::string& file : {
             SerializeRecords(OneVisitor()),                 // never scrambled
             Scrambled(PlainOfLines(OneVisitor(), 9 + 4)),   // a Classic place cut off
             Scrambled(PlainOfLines(OneVisitor(), 900 + 3)), // a level-mode place cut off
             Scrambled(badNumber), Scrambled(level300), std::string("\x01\x02\x03 other"),
         }) {
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
    RecordTables tables = Local();
    EXPECT_FALSE(Synchronize(folder / "Records", tables));
    EXPECT_FALSE(std::filesystem::exists(folder / "Records"));
    EXPECT_FALSE(Synchronize(SharedRecordsPath(nullptr), tables));
    std::filesystem::create_directories(folder / "dir" / "Records");
    EXPECT_FALSE(Synchronize(folder / "dir" / "Records", tables));

    // No room for a temporary file's name beside it: unwritable even for root.
    std::vector<std::filesystem::path> unwritable = {folder / std::string(250, 'R')};
    if (testing::PermissionsBindUs()) {
        unwritable.push_back(folder / "Records");
    }
    for (const auto& path : unwritable) {
        WriteFile(path, RecordsToFileBytes(OneVisitor()));
        ::chmod(path.c_str(), 0444);
        EXPECT_FALSE(Synchronize(path, tables));
        EXPECT_EQ(FileBytes(path), RecordsToFileBytes(OneVisitor()));
    }
    EXPECT_EQ(tables.classic, Local().classic);
    EXPECT_EQ(tables.level, Local().level);
}

} // namespace
} // namespace plumix
