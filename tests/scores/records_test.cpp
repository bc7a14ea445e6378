// The record file, synchronizing, the name colours, and how an earned place is found and filled.
#include "scores/name_color.h"
#include "scores/record_book.h"
#include "scores/records_file.h"
#include "scores/synchronize.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace plumix {
namespace {

using testing::FileBytes;

RecordTables Sample()
{
    RecordTables tables;
    tables.classic.At(1) = {"  Иван, the first", 123456, 10, 20, 30, 4, "01.02.2024", " good, game ", 9};
    tables.classic.At(2) = {"", -5, 0, 0, 0, 0, "", "", 0};
    tables.classic.At(3) = {"x", 2147483647, -2147483647 - 1, 1, 2, 3, "d", "c", 255};
    tables.level.At(1) = {"Ёлка", 777, 0, 0, 0, 0, "31.12.2023", "ночь, ещё", 100};
    return tables;
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

std::string Scrambled(std::string plain)
{
    ScrambleRecordBytes(plain);
    return plain;
}

TEST(RecordsFile, TwoEmptyTablesMake5200ScrambledBytesAndEntriesComeBackAsTheyWere)
{
    testing::ScratchFolder folder;
    const auto path = folder / "Records";
    RecordTables tables = Sample();
    EXPECT_EQ(LoadRecords(path, tables), RecordsFileResult::Ok);  // a missing file: created empty, no message
    EXPECT_TRUE(tables.classic == RecordTable{} && tables.level == RecordTable{});
    EXPECT_EQ(FileBytes(path), "");

    RecordTables empty;
    ASSERT_EQ(SaveRecords(path, empty), RecordsFileResult::Ok);
    const std::string bytes = FileBytes(path), plain = SerializeRecords({});
    ASSERT_EQ(bytes.size(), 5200u);
    EXPECT_EQ(bytes.substr(0, 7), "\x0C\x08\x23\x34\x25\x0B\x0D");
    EXPECT_EQ((bytes[249] ^ plain[249]) & 0xFF, 250);  // the key runs 1..250, then starts again
    EXPECT_EQ((bytes[250] ^ plain[250]) & 0xFF, 1);
    ASSERT_TRUE(ScrambleFile(path));
    EXPECT_EQ(FileBytes(path), plain);

    tables = Sample();  // a negative score, below which an empty place of the file must not go
    ASSERT_EQ(SaveRecords(path, tables), RecordsFileResult::Ok);
    const std::string saved = FileBytes(path);
    ASSERT_EQ(LoadRecords(path, tables), RecordsFileResult::Ok);
    EXPECT_EQ(FileBytes(path), saved);  // a load changes no byte
    EXPECT_TRUE(tables.classic == Sample().classic && tables.level == Sample().level);
    EXPECT_TRUE(SerializeRecords(Sample()).starts_with("  \xC8\xE2\xE0\xED, the first\r\n 123456 \r\n"));  // Windows-1251
}

TEST(RecordsFile, ReadingKeepsTheWholePlacesBeforeTheEndOrTheFirstBadNumber)
{
    const std::string plain = SerializeRecords(Sample());
    const RecordTables cut = RecordsFromFileBytes(Scrambled(Head(plain, 2 * 9 + 4)));  // place 3 cut off
    EXPECT_EQ(cut.classic.At(2), Sample().classic.At(2));
    EXPECT_EQ(cut.classic.At(3), Record{});

    // How far one reading went, for the game's file and the shared one alike.
    const auto report = [](std::string_view text) {
        const RecordsReading read = ReadRecords(text);
        return std::tuple(read.classicPlaces, read.levelPlaces, read.linesRead, read.stoppedOnBadLine, read.Whole());
    };
    const std::string afterScore2 = plain.substr(Head(plain, 11).size());  // line 11: score of place 2
    for (const char* bad : {"abc", "", " 2147483648 ", "1.5"}) {
        const std::string text = Head(plain, 10) + bad + "\r\n" + afterScore2;
        EXPECT_EQ(report(text), std::tuple(1, 0, 11, true, false)) << bad;
        const RecordTables read = ParseRecords(text);
        EXPECT_TRUE(read.classic.At(1) == Sample().classic.At(1) && read.classic.At(2) == Record{}) << bad;
        EXPECT_EQ(read.level, RecordTable{}) << bad;
    }
    EXPECT_EQ(report(""), std::tuple(0, 0, 0, false, true));
    EXPECT_EQ(report(Head(plain, 22)), std::tuple(2, 0, 22, false, false));  // place 3 cut off
    EXPECT_EQ(report(Head(plain, 903)), std::tuple(100, 0, 903, false, false));
    EXPECT_EQ(report(Head(plain, 905)), std::tuple(100, 1, 905, false, true));
    EXPECT_EQ(report(plain + "a line past the 1400th\r\n"), std::tuple(100, 100, 1400, false, true));
    std::string level300 = Head(plain, 905);  // the level line of level-mode place 1
    level300.replace(level300.size() - 7, 7, " 300 \r\n");
    EXPECT_EQ(report(level300), std::tuple(100, 0, 905, true, false));

    // A CR inside a line is read as the blank a save writes for it.
    const std::string strayText = "a\rb\r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n\r\nc\r\r\n 0 \r\n";
    EXPECT_EQ(ParseRecords(strayText).classic.At(1), (Record{"a b", 0, 0, 0, 0, 0, "", "c ", 0}));
    EXPECT_EQ(ParseRecords(SerializeRecords(ParseRecords(strayText))).classic, ParseRecords(strayText).classic);
}

TEST(RecordsFile, AnUnwritablePlaceOrAReadOnlyFileGivesTheMessageAndLosesNothing)
{
    testing::ScratchFolder folder;
    const auto path = folder / "Records";
    // Each failed check sets one bit, so that a child process can report them.
    const int failures = testing::AsBoundUser(folder.Path(), [&] {
        RecordTables tables = Sample(), empty;
        int failed = SaveRecords(path, tables) == RecordsFileResult::Ok ? 0 : 1;
        const std::string before = FileBytes(path);
        ::chmod(path.c_str(), 0444);  // a read-only file
        // The message, and the records all the same, so that a save at the end keeps them.
        failed |= LoadRecords(path, tables) == RecordsFileResult::Failed && tables.classic == Sample().classic &&
                          tables.level == Sample().level ? 0 : 2;
        failed |= SaveRecords(path, empty) == RecordsFileResult::Failed && FileBytes(path) == before &&
                          empty.classic == RecordTable{} ? 0 : 4;
        ::chmod(path.c_str(), 0644);  // a read-only folder: no file can be created, but this one is rewritten
        ::chmod(folder.Path().c_str(), 0555);
        tables = Sample();
        failed |= LoadRecords(folder / "New", tables) == RecordsFileResult::Failed && tables.classic == RecordTable{} ? 0 : 8;
        failed |= SaveRecords(folder / "New", tables) == RecordsFileResult::Failed ? 0 : 16;
        failed |= SaveRecords(path, empty) == RecordsFileResult::Ok && empty.level == Sample().level &&
                          FileBytes(path) == RecordsToFileBytes(empty) ? 0 : 32;
        ::chmod(folder.Path().c_str(), 0755);
        ::chmod(path.c_str(), 0200);  // nothing in it could ever be read: ours are written all the same
        tables = Sample();
        failed |= SaveRecords(path, tables) == RecordsFileResult::Ok ? 0 : 64;
        ::chmod(path.c_str(), 0644);
        failed |= FileBytes(path) == RecordsToFileBytes(Sample()) ? 0 : 128;
        return failed;
    });
    EXPECT_EQ(failures, 0);
}

Record Entry(std::string player, std::int32_t score)
{
    return {std::move(player), score, 0, 0, 0, 0, "01.02.2024", "c", 3};
}

// All places of both tables, scoring 1000, 990, ..., 10.
RecordTables Local()
{
    RecordTables tables;
    for (int p = 1; p <= RecordPlaces; ++p) {
        tables.classic.At(p) = Entry("local" + std::to_string(p), 1010 - 10 * p);
        tables.level.At(p) = Entry("lv" + std::to_string(p), 1010 - 10 * p);
    }
    return tables;
}

// The players of the first `places` places of a table, as one text.
std::string Players(const RecordTable& table, int places = RecordPlaces)
{
    std::string players;
    for (int p = 1; p <= places; ++p) {
        players += table.At(p).player + (p < places ? " " : "");
    }
    return players;
}

// A record entered in the game's tables: room made at its place, then filled.
void Enter(RecordTable& table, std::string player, std::int32_t score)
{
    const int place = FindRecordPlace(table, score);
    MakeRoomAt(table, place);
    table.At(place) = Entry(std::move(player), score);
}

TEST(RecordsFile, ASaveKeepsWhatAnotherProgramWroteSinceTheLoadAndDoublesNothing)
{
    testing::ScratchFolder folder;
    const auto path = folder / "Records";
    RecordTables start;
    Enter(start.classic, "old", 300);
    Enter(start.level, "lv", 50);
    ASSERT_EQ(SaveRecords(path, start), RecordsFileResult::Ok);

    // Two games read the same file; each enters a record and saves at once.
    RecordTables first, second;
    ASSERT_EQ(LoadRecords(path, first), RecordsFileResult::Ok);
    ASSERT_EQ(LoadRecords(path, second), RecordsFileResult::Ok);
    Enter(first.classic, "first", 500);
    ASSERT_EQ(SaveRecords(path, first), RecordsFileResult::Ok);
    Enter(second.classic, "second", 400);
    Enter(second.level, "second", 60);
    ASSERT_EQ(SaveRecords(path, second), RecordsFileResult::Ok);
    EXPECT_EQ(Players(second.classic, 4), "first second old ");  // the tables shown take the merge too
    EXPECT_TRUE(FileBytes(path) == RecordsToFileBytes(second));

    // The first quits without having seen the second's records.
    ASSERT_EQ(SaveRecords(path, first), RecordsFileResult::Ok);
    EXPECT_EQ(Players(first.classic, 4) + "| " + Players(first.level, 3), "first second old | second lv ");
    EXPECT_TRUE(FileBytes(path) == RecordsToFileBytes(second));
    const std::string settled = FileBytes(path);
    ASSERT_EQ(SaveRecords(path, first), RecordsFileResult::Ok);  // the file unchanged since: nothing merged twice
    ASSERT_EQ(SaveRecords(path, second), RecordsFileResult::Ok);
    EXPECT_TRUE(FileBytes(path) == settled);

    // A damaged file: its places before the damage are taken, ours are written whole.
    RecordTables visitor;
    Enter(visitor.classic, "kept", 700);
    Enter(visitor.classic, "cut", 600);
    for (const auto& [damaged, expected] : {
             std::pair{Scrambled(Head(SerializeRecords(visitor), 9 + 4)), "kept first second old"},
             {std::string("\x01\x02\x03 not a record file"), "first second old "},
             {SerializeRecords(visitor), "first second old "},  // never scrambled
         }) {
        testing::WriteFile(path, damaged);
        RecordTables tables = second;
        ASSERT_EQ(SaveRecords(path, tables), RecordsFileResult::Ok);
        EXPECT_EQ(Players(tables.classic, 4), expected);
        EXPECT_TRUE(FileBytes(path) == RecordsToFileBytes(tables));
    }
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
    std::string players;
    for (const int p : {1, 2, 3, 4, 5, 100}) {
        players += tables.classic.At(p).player + " ";
    }
    EXPECT_EQ(players, "top local1 mid local2 local3 local98 ");  // two insertions dropped two places
}

TEST(Synchronize, MergesWholeRecordFilesWritesThemBackAndLeavesAnyOtherFileAsItWas)
{
    testing::ScratchFolder folder;
    const auto shared = folder / "Records";
    RecordTables visitor;
    visitor.classic.At(1) = Entry("visitor", 5000);
    RecordTables both = visitor;
    both.level.At(1) = Entry("levels", 995);
    const std::pair<std::string, std::string> good[] = {
        {RecordsToFileBytes(both), "visitor levels"},
        {Scrambled(Head(SerializeRecords(visitor), 900)), "visitor lv2"},  // only a Classic part
        {RecordsToFileBytes(RecordTables{}), "local1 lv2"},                // 5200 bytes of two empty tables
        {"", "local1 lv2"},
    };
    for (const auto& [file, expected] : good) {
        SCOPED_TRACE(expected);
        testing::WriteFile(shared, file);
        RecordTables tables = Local();
        ASSERT_TRUE(Synchronize(shared, tables));
        EXPECT_EQ(tables.classic.At(1).player + " " + tables.level.At(2).player, expected);
        EXPECT_EQ(FileBytes(shared), RecordsToFileBytes(tables));
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);  // no temporary left

    std::string badNumber = SerializeRecords(visitor);
    badNumber.replace(badNumber.find(" 5000 "), 6, "lots");
    std::string level300 = Head(SerializeRecords(visitor), 900 + 5);  // ends with a level line
    level300.replace(level300.size() - 5, 5, " 300 \r\n");
    RecordTables tables = Local();
    for (const std::string& file : {
             SerializeRecords(visitor),                          // never scrambled
             Scrambled(Head(SerializeRecords(visitor), 9 + 4)),  // a Classic place cut off
             Scrambled(Head(SerializeRecords(visitor), 903)),    // a level-mode place cut off
             Scrambled(badNumber), Scrambled(level300), std::string("\x01\x02\x03 other"),
         }) {
        testing::WriteFile(shared, file);
        EXPECT_FALSE(Synchronize(shared, tables));
        EXPECT_EQ(FileBytes(shared), file);
    }
    EXPECT_FALSE(Synchronize(folder / "Missing", tables));
    EXPECT_FALSE(std::filesystem::exists(folder / "Missing"));
    EXPECT_FALSE(Synchronize(SharedRecordsPath(nullptr), tables));
    testing::WriteFile(shared, RecordsToFileBytes(visitor));
    ::chmod(shared.c_str(), 0444);
    EXPECT_EQ(testing::AsBoundUser(folder.Path(), [&] { return Synchronize(shared, tables) ? 1 : 0; }), 0);
    EXPECT_EQ(FileBytes(shared), RecordsToFileBytes(visitor));
    EXPECT_TRUE(tables.classic == Local().classic && tables.level == Local().level);
}

TEST(NameColor, XorOfTheBytesIsRedTheirFoldedSumGreen)
{
    EXPECT_EQ(NameColor("A"), (Rgb{65, 65, 255}));
    EXPECT_EQ(NameColor("AB"), (Rgb{3, 131, 255}));
    EXPECT_EQ(NameColor(""), (Rgb{0, 0, 255}));
    EXPECT_EQ(NameColor("яя"), (Rgb{0, 255, 255}));  // 510 folds to 255, 511 to 1: never 0
    EXPECT_EQ(NameColor("яя\x01"), (Rgb{1, 1, 255}));
    EXPECT_EQ(NameColor("Ё"), (Rgb{0xA8, 0xA8, 255}));  // the Windows-1251 bytes count, as stored
    EXPECT_EQ(NameColor("日"), NameColor("?"));
    EXPECT_EQ(NameColor("Jürgen"), NameColor("Jurgen"));  // the colour of the stored name
}

TEST(RecordBook, AnEndedGameRanksInItsOwnTableTiesBelowAndTheEntryFillsThePlaceAsLaterRunsReadIt)
{
    RecordTables tables;
    RecordBook book(tables);
    EXPECT_EQ(book.Enter({GameMode::Classic, 0}), 0);  // 0 against an empty table earns nothing
    EXPECT_EQ(book.Enter({GameMode::Classic, 10}), 1);
    for (int p = 1; p <= RecordPlaces; ++p) {
        tables.classic.At(p) = {"p" + std::to_string(p), 1000 - 10 * p, 0, 0, 0, 0, "", "", 0};  // 990 .. 0
        tables.level.At(p) = {"l" + std::to_string(p), 100 - p, 0, 0, 0, 0, "", "", 0};           // 99 .. 0
    }
    const RecordTables before = tables;

    // 950 ties place 5 and ranks 6th; the places below move down one.
    EXPECT_EQ(book.Enter({GameMode::Classic, 950, {7, 3, 2, 1}, 4}), 6);
    book.Fill({"A\r\nB", "x\ny", "01.02.2024"});
    EXPECT_EQ(tables.classic.At(6), (Record{"A  B", 950, 7, 3, 2, 1, "01.02.2024", "x y", 4}));
    EXPECT_EQ(std::tuple(tables.classic.At(5).player, tables.classic.At(7).player, tables.classic.At(100).player),
              std::tuple("p5", "p6", "p99"));
    EXPECT_EQ(book.LastPlayerName(), "A  B");  // offered by the next entry
    EXPECT_EQ(tables.level, before.level);
    EXPECT_EQ(book.LastEndedMode(), GameMode::Classic);

    // A level game ranks in the level table, which keeps no line counters;
    // shown from the start as the file will hold it, not as typed.
    EXPECT_EQ(book.Enter({GameMode::Levels, 40, {7, 3, 2, 1}, 5}), 61);
    book.Fill({"Łukasz Иван ёЁ №", "Schön, ça va? 日本", "d"});
    EXPECT_EQ(tables.level.At(61), (Record{"Lukasz Иван ёЁ №", 40, 0, 0, 0, 0, "d", "Schon, ca va? ??", 5}));
    EXPECT_EQ(tables.level.At(62).player, "l61");
    EXPECT_EQ(book.LastEndedMode(), GameMode::Levels);
    testing::ScratchFolder folder;
    ASSERT_EQ(SaveRecords(folder / "Records", tables), RecordsFileResult::Ok);
    RecordTables read;
    ASSERT_EQ(LoadRecords(folder / "Records", read), RecordsFileResult::Ok);
    EXPECT_TRUE(read.classic == tables.classic && read.level == tables.level);

    // Without a place the entry writes nothing but remembers the name; an
    // entry fills its place once.
    const RecordTables filled = tables;
    EXPECT_EQ(book.Enter({GameMode::Classic, -5}), 0);
    book.Fill({"Cy", "", ""});
    book.Fill({"Dee", "", ""});
    EXPECT_TRUE(tables.classic == filled.classic && tables.level == filled.level);
    EXPECT_EQ(book.LastPlayerName(), "Dee");
}

} // namespace
} // namespace plumix
