// The record file, synchronizing, the name colours, and how an earned place is found and filled.
#include "scores/name_color.h"
#include "scores/record_book.h"
#include "scores/records_file.h"
#include "scores/synchronize.h"
#include "support/child_process.h"
#include "support/record_tables.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace plumix {
namespace {

namespace fs = std::filesystem;
using testing::FileBytes;
using testing::FilledTables;
using testing::WriteFile;

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

Record Entry(std::string player, std::int32_t score)
{
    return {std::move(player), score, 0, 0, 0, 0, "01.02.2024", "c", 3};
}

TEST(RecordsFile, TwoEmptyTablesMake5200ScrambledBytesAndEntriesComeBackAsTheyWere)
{
    testing::ScratchFolder folder;
    const auto path = folder / "Records";
    RecordTables tables = Sample();
    EXPECT_TRUE(LoadRecords(path, tables).ok);  // a missing file: created empty, no message
    EXPECT_TRUE(tables.classic == RecordTable{} && tables.level == RecordTable{});
    EXPECT_EQ(FileBytes(path), "");

    RecordTables empty;
    ASSERT_TRUE(SaveRecords(path, empty).ok);
    const std::string bytes = FileBytes(path), plain = SerializeRecords({});
    ASSERT_EQ(bytes.size(), 5200u);
    EXPECT_EQ(bytes.substr(0, 7), "\x0C\x08\x23\x34\x25\x0B\x0D");
    EXPECT_EQ((bytes[249] ^ plain[249]) & 0xFF, 250);  // the key runs 1..250, then starts again
    EXPECT_EQ((bytes[250] ^ plain[250]) & 0xFF, 1);

    tables = Sample();  // a negative score, below which an empty place of the file must not go
    ASSERT_TRUE(SaveRecords(path, tables).ok);
    ASSERT_TRUE(LoadRecords(path, tables).ok);
    EXPECT_TRUE(tables.classic == Sample().classic && tables.level == Sample().level);
    const std::string sample = SerializeRecords(Sample());  // Windows-1251; the level mode's five fields in order
    EXPECT_TRUE(sample.starts_with("  \xC8\xE2\xE0\xED, the first\r\n 123456 \r\n"));
    EXPECT_EQ(sample.substr(Head(sample, 900).size(), 43),
              "\xA8\xEB\xEA\xE0\r\n 777 \r\n31.12.2023\r\n\xED\xEE\xF7\xFC, \xE5\xF9\xB8\r\n 100 \r\n");
    // A CR inside a line is read as the blank a save writes for it.
    const std::string strayText = "a\rb\r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n\r\nc\r\r\n 0 \r\n";
    EXPECT_EQ(ReadRecords(strayText).tables.classic.At(1), (Record{"a b", 0, 0, 0, 0, 0, "", "c ", 0}));
}

// Each text, scrambled, as the game's own file and as another installation's:
// the places read (Classic, level mode), lost, the second Classic place read,
// and the first places of full tables that the file is merged into.
TEST(DamagedRecords, ABadLineCostsOnlyItsOwnPlaceAndADamagedFileIsKeptAsItWasOnceBeforeItIsReplaced)
{
    const std::string plain = SerializeRecords(Sample());
    const auto withLine = [&](int line, const std::string& text) {  // line from 0
        return Head(plain, line) + text + "\r\n" + plain.substr(Head(plain, line + 1).size());
    };
    const std::tuple<std::string, int, int, int, std::string, std::string> texts[] = {
        {withLine(10, "abc"), 99, 100, 1, "x", "x|Ёлка"},  // place 2's score: no number, too big, not whole
        {withLine(10, " 2147483648 "), 99, 100, 1, "x", "x|Ёлка"},
        {withLine(10, "1.5"), 99, 100, 1, "x", "x|Ёлка"},
        {withLine(904, " 300 "), 100, 99, 1, "", "x|l1"},  // level-mode place 1's level
        {Head(plain, 13), 1, 0, 1, "", "  Иван, the first|l1"},  // place 2 cut off
        {Head(plain, 903), 100, 0, 1, "", "x|l1"},
        {Head(plain, 905), 100, 1, 0, "", "x|Ёлка"},  // another installation may write fewer
        {plain + "a line past the 1400th\r\n", 100, 100, 0, "", "x|Ёлка"},
        {SerializeRecords({}), 100, 100, 0, "", "c1|l1"},
        {"", 0, 0, 0, "", "c1|l1"},
    };
    testing::ScratchFolder folder;
    const fs::path own = folder / "Records", shared = folder / "shared" / "Records";
    for (const auto& [text, classic, level, lost, second, merged] : texts) {
        SCOPED_TRACE(merged + " " + std::to_string(text.size()));
        const RecordsReading read = ReadRecords(text);
        EXPECT_EQ(std::tuple(read.classicPlaces, read.levelPlaces, read.placesLost, read.tables.classic.At(2).player),
                  std::tuple(classic, level, lost, second));
        const std::string bytes = Scrambled(text);
        WriteFile(own, bytes);
        RecordTables tables;
        const RecordsFileStatus loaded = LoadRecords(own, tables);
        EXPECT_TRUE(loaded.ok && tables.classic == read.tables.classic && tables.level == read.tables.level);
        EXPECT_EQ(FileBytes(own), bytes);
        const std::string told = DamagedRecordsMessage(own, loaded);
        EXPECT_EQ(loaded.keptCopy.empty() && told.empty(), lost == 0);
        if (lost > 0) {
            EXPECT_EQ(FileBytes(loaded.keptCopy), bytes);
            EXPECT_NE(told.find(loaded.keptCopy.string()), std::string::npos);
        }
        // Told once: the same damage found again keeps no second copy.
        EXPECT_TRUE(DamagedRecordsMessage(own, LoadRecords(own, tables)).empty());
        const RecordsFileStatus saved = SaveRecords(own, tables);
        EXPECT_TRUE(saved.ok && saved.keptCopy.empty() && FileBytes(own) == RecordsToFileBytes(tables));

        WriteFile(shared, bytes);
        fs::remove(folder / "shared" / "Records.damaged");
        tables = FilledTables();
        EXPECT_TRUE(Synchronize(shared, tables).ok);
        EXPECT_EQ(tables.classic.At(1).player + "|" + tables.level.At(1).player, merged);
        EXPECT_EQ(FileBytes(shared), RecordsToFileBytes(tables));
        EXPECT_EQ(FileBytes(folder / "shared" / "Records.damaged"), lost > 0 ? bytes : "");
    }
    // Each new damage got a copy of its own; the first stays as it was.
    EXPECT_EQ(FileBytes(folder / "Records.damaged"), Scrambled(std::get<0>(texts[0])));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "shared"), {}), 1);  // no temporary left

    // A shared file holding no record is no record file (or was never
    // scrambled): neither it nor the tables change, nor does a missing one appear.
    const RecordTables local = FilledTables();
    RecordTables tables = local;
    for (const std::string& file : {plain, std::string("\x01\x02\x03 other")}) {
        WriteFile(shared, file);
        EXPECT_FALSE(Synchronize(shared, tables).ok);
        EXPECT_EQ(FileBytes(shared), file);
    }
    EXPECT_FALSE(Synchronize(folder / "Missing", tables).ok || fs::exists(folder / "Missing"));
    EXPECT_FALSE(Synchronize(SharedRecordsPath(nullptr), tables).ok);
    EXPECT_TRUE(tables.classic == local.classic && tables.level == local.level);
}

TEST(RecordsFile, AFileThatCannotBeReadOrReplacedWholeIsNeverWrittenOverAndTheMessageSaysSo)
{
    testing::ScratchFolder folder;
    const auto path = folder / "Records", elsewhere = folder / "ro" / "Records", link = folder / "link";
    const std::string damaged = Scrambled(Head(SerializeRecords(Sample()), 13));
    // In a child that file permissions bind (root writes anywhere) and that owns the folder.
    ASSERT_EQ(::geteuid() == 0 ? ::chown(folder.Path().c_str(), testing::Nobody, testing::Nobody) : 0, 0);
    const int failures = testing::Child([&](const auto&) {
        WriteFile(elsewhere, RecordsToFileBytes(Sample()));
        fs::create_symlink(elsewhere, link);
        RecordTables tables = Sample(), empty;
        int failed = SaveRecords(path, tables).ok ? 0 : 1;
        const std::string before = FileBytes(path);
        ::chmod(path.c_str(), 0444);  // a read-only file
        // The message, and the records all the same, so that a save at the end keeps them.
        failed |= !LoadRecords(path, tables).ok && tables.classic == Sample().classic &&
                          tables.level == Sample().level ? 0 : 2;
        failed |= !SaveRecords(path, empty).ok && FileBytes(path) == before && empty.classic == RecordTable{} ? 0 : 4;
        // A writable file in a folder that takes no new file, directly or through a link.
        ::chmod(path.c_str(), 0644);
        ::chmod((folder / "ro").c_str(), 0555);
        ::chmod(folder.Path().c_str(), 0555);
        for (const auto& file : {path, link}) {
            const std::string kept = FileBytes(file);
            failed |= !LoadRecords(file, tables).ok && !SaveRecords(file, empty).ok && FileBytes(file) == kept ? 0 : 8;
        }
        failed |= !LoadRecords(folder / "New", tables).ok && tables.classic == RecordTable{} ? 0 : 16;
        ::chmod(folder.Path().c_str(), 0755);
        ::chmod(path.c_str(), 0200);  // cannot be read: what it holds is not ours to drop
        failed |= !SaveRecords(path, empty).ok ? 0 : 32;
        ::chmod(path.c_str(), 0644);
        failed |= FileBytes(path) == before ? 0 : 64;
        // Damaged, and no copy can be kept (its name leads into the read-only folder).
        WriteFile(path, damaged);
        fs::create_symlink(folder / "ro" / "copy", folder / "Records.damaged");
        ::chmod((folder / "ro").c_str(), 0555);
        const RecordsFileStatus refused = SaveRecords(path, empty);
        failed |= !refused.ok && refused.copyFailed && FileBytes(path) == damaged &&
                          DamagedRecordsMessage(path, refused).find("No copy") != std::string::npos ? 0 : 128;
        return failed;
    }, true).Wait();
    EXPECT_EQ(failures, 0);
}

TEST(MergeRecords, IncomingPlacesGoInOrderAboveTheFirstLowerScoreAndTiesStayOut)
{
    RecordTables tables = FilledTables();
    RecordTable incoming;
    incoming.At(1) = Entry("top", 5000);      // above place 1
    incoming.At(2) = Entry("stranger", 990);  // ties place 2, another player
    incoming.At(3) = Entry("mid", 995);       // between the old places 1 and 2
    incoming.At(4) = Entry("mid twin", 995);  // ties the one just taken
    incoming.At(5) = Entry("low", -100);      // below every place
    incoming.At(6) = Entry("never", 7000);    // beyond the count given
    MergeRecords(tables.classic, incoming, 5);
    std::string players;
    for (const int p : {1, 2, 3, 4, 5, 100}) {
        players += tables.classic.At(p).player + " ";
    }
    EXPECT_EQ(players, "top c1 mid c2 c3 c98 ");  // two insertions dropped two places
}

TEST(NameColor, XorOfTheBytesIsRedTheirFoldedSumGreen)
{
    EXPECT_EQ(NameColor("AB"), (Rgb{3, 131, 255}));
    EXPECT_EQ(NameColor(""), (Rgb{0, 0, 255}));
    EXPECT_EQ(NameColor("яя"), (Rgb{0, 255, 255}));  // 510 folds to 255, 511 to 1: never 0
    EXPECT_EQ(NameColor("яя\x01"), (Rgb{1, 1, 255}));
    EXPECT_EQ(NameColor("Ё"), (Rgb{0xA8, 0xA8, 255}));  // the Windows-1251 bytes count, as stored
}

TEST(RecordBook, AnEndedGameRanksInItsOwnTableTiesBelowAndTheEntryFillsThePlaceAsTheFileWillHoldIt)
{
    RecordTables tables;
    RecordBook book(tables);
    EXPECT_EQ(book.Enter({GameMode::Classic, 0}), 0);  // 0 against an empty table earns nothing
    EXPECT_EQ(book.Enter({GameMode::Classic, 10}), 1);
    tables = FilledTables();
    const RecordTables before = tables;

    // 950 ties place 6 and ranks 7th; the places below move down one.
    EXPECT_EQ(book.Enter({GameMode::Classic, 950, {7, 3, 2, 1}, 4}), 7);
    book.Fill({"A\r\nB", "x\ny", "01.02.2024"});
    EXPECT_EQ(tables.classic.At(7), (Record{"A  B", 950, 7, 3, 2, 1, "01.02.2024", "x y", 4}));
    EXPECT_EQ(std::tuple(tables.classic.At(6).player, tables.classic.At(8).player, tables.classic.At(100).player),
              std::tuple("c6", "c7", "c99"));
    EXPECT_EQ(book.LastPlayerName(), "A  B");  // offered by the next entry
    EXPECT_EQ(tables.level, before.level);
    EXPECT_EQ(book.LastEndedMode(), GameMode::Classic);

    // A level game ranks in the level table, which keeps no line counters, as the file will hold it.
    EXPECT_EQ(book.Enter({GameMode::Levels, 40, {7, 3, 2, 1}, 5}), 62);
    book.Fill({"Łukasz Иван ёЁ №", "Schön, ça va? 日本", "d"});
    EXPECT_EQ(tables.level.At(62), (Record{"Lukasz Иван ёЁ №", 40, 0, 0, 0, 0, "d", "Schon, ca va? ??", 5}));
    EXPECT_EQ(std::tuple(tables.level.At(63).player, tables.classic.At(63).player), std::tuple("l62", "c62"));
    EXPECT_EQ(book.LastEndedMode(), GameMode::Levels);

    // An entry fills its place once; without a place it writes nothing but remembers the name.
    const RecordTables filled = tables;
    book.Fill({"Cy", "", ""});
    EXPECT_EQ(book.Enter({GameMode::Classic, -5}), 0);
    EXPECT_EQ(book.LastEndedMode(), GameMode::Classic);
    book.Fill({"Dee", "", ""});
    EXPECT_TRUE(tables.classic == filled.classic && tables.level == filled.level);
    EXPECT_EQ(book.LastPlayerName(), "Dee");
}

} // namespace
} // namespace plumix
