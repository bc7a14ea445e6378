#include "scores/hiscores_table.h"
#include "scores/name_color.h"
#include "scores/record_entry.h"

#include <gtest/gtest.h>

namespace plumix {
namespace {

TextTable EnglishTexts()
{
    TextTable texts{};
    FillDefaultTexts(texts);
    return texts;
}

TEST(NameColor, XorOfTheBytesIsRedTheirFoldedSumGreen)
{
    EXPECT_EQ(NameColor("A"), (Rgb{65, 65, 255}));
    EXPECT_EQ(NameColor("AB"), (Rgb{3, 131, 255}));
    EXPECT_EQ(NameColor(""), (Rgb{0, 0, 255}));
    // The sum folds by 255 while above 255: 510 gives 255, 511 gives 1, never 0.
    EXPECT_EQ(NameColor("яя"), (Rgb{0, 255, 255}));
    EXPECT_EQ(NameColor("яя\x01"), (Rgb{1, 1, 255}));
    EXPECT_EQ(NameColor("яяя"), (Rgb{255, 255, 255}));
    // Colours come from the Windows-1251 bytes the record file stores, so a
    // character the code page lacks colours like the '?' it is stored as.
    EXPECT_EQ(NameColor("Ё"), (Rgb{0xA8, 0xA8, 255}));
    EXPECT_EQ(NameColor("日"), NameColor("?"));
}

TEST(RecordEntry, PromptsNameThePlaceWithoutAnOrdinalRule)
{
    const TextTable texts = EnglishTexts();
    EXPECT_EQ(RecordEntryPrompt(texts, 5), "Congratulations! You are 5th. Enter your name:");
    EXPECT_EQ(RecordEntryPrompt(texts, 1), "Congratulations! You are 1th. Enter your name:");
    EXPECT_EQ(RecordEntryPrompt(texts, 12), "Congratulations! You are 12th. Enter your name:");
    EXPECT_EQ(RecordCommentPrompt(texts), "Your comment about game:");
}

GameState EndedGame(int mode)
{
    GameState state;
    state.endedMode = mode;
    state.score = 4321;
    state.lines = {7, 3, 2, 1};
    state.level = 4;
    return state;
}

TEST(RecordEntry, AClassicEntryTakesTheCountersALevelEntryDoesNot)
{
    RecordTables tables;
    std::string lastName;
    FinishRecordEntry(tables, lastName, GameModeClassic, 3, EndedGame(GameModeClassic),
                      {"Ann", "close one", "01.02.2024"});
    EXPECT_EQ(tables.classic.At(3), (Record{"Ann", 4321, 7, 3, 2, 1, "01.02.2024", "close one", 4}));
    EXPECT_EQ(lastName, "Ann");

    FinishRecordEntry(tables, lastName, GameModeLevels, 1, EndedGame(GameModeLevels), {"Bob", "", "d"});
    EXPECT_EQ(tables.level.At(1), (Record{"Bob", 4321, 0, 0, 0, 0, "d", "", 4}));
    EXPECT_EQ(tables.classic.At(1), Record{});
    EXPECT_EQ(lastName, "Bob");
}

TEST(RecordEntry, TypedTextsKeepOneLineAndOddNumbersStayInTheirFields)
{
    RecordTables tables;
    std::string lastName = "old";
    GameState huge = EndedGame(GameModeClassic);
    huge.score = 5'000'000'000;
    huge.level.reset();
    FinishRecordEntry(tables, lastName, GameModeClassic, 100, huge, {"A\r\nB", "x\ny", "d"});
    const Record& entry = tables.classic.At(100);
    EXPECT_EQ(entry.player, "A  B");
    EXPECT_EQ(entry.comment, "x y");
    EXPECT_EQ(entry.score, 2147483647);
    EXPECT_EQ(entry.level, 0);
    EXPECT_EQ(lastName, "A  B");

    GameState deep = EndedGame(GameModeLevels);
    deep.level = 300;
    EXPECT_EQ(EnteredRecord(GameModeLevels, deep, {}).level, 255);

    // A mode or place no table has writes nothing, but the name is kept.
    const RecordTables before = tables;
    for (auto [mode, place] : {std::pair{0, 1}, {3, 1}, {1, 0}, {1, 101}}) {
        FinishRecordEntry(tables, lastName, mode, place, EndedGame(mode), {"Cy", "", ""});
    }
    EXPECT_EQ(tables.classic, before.classic);
    EXPECT_EQ(tables.level, before.level);
    EXPECT_EQ(lastName, "Cy");
}

TEST(HiScoresTable, RowsFollowTheScrollPositionWithinPlaces1To100)
{
    RecordTables tables;
    for (int p = 1; p <= RecordPlaces; ++p) {
        tables.classic.At(p).score = 1000 - p;
    }
    EXPECT_EQ(HiScoresRowAt(tables, HiScoresTable::Classic, 1, 0).place, 1);
    EXPECT_EQ(HiScoresRowAt(tables, HiScoresTable::Classic, 1, 19).place, 20);
    const HiScoresRow last = HiScoresRowAt(tables, HiScoresTable::Classic, LastTopPlace, 19);
    EXPECT_EQ(last.place, 100);
    EXPECT_EQ(last.Text(HiScoresColumn::Number), " 100");
    EXPECT_EQ(last.Text(HiScoresColumn::Score), "900");
    // Out-of-range positions never address a place outside the table.
    EXPECT_EQ(HiScoresRowAt(tables, HiScoresTable::Classic, 500, 19).place, 100);
    EXPECT_EQ(HiScoresRowAt(tables, HiScoresTable::Classic, -3, 0).place, 1);
    EXPECT_EQ(ClampTopPlace(1 + ScrollLargeStep * 4), 81);
}

TEST(HiScoresTable, ColumnsAndColoursPerTable)
{
    RecordTables tables;
    tables.classic.At(2) = {"Ann", 250, 1, 2, 3, 4, "01.02.2024", "nice", 2};
    tables.level.At(2) = {"Ann", 900, 5, 6, 7, 8, "d", "", 12};  // counters the file would never keep

    const HiScoresRow classic = HiScoresRowAt(tables, HiScoresTable::Classic, 1, 1);
    const std::array<std::string, HiScoresColumns> classicTexts = {" 2", "Ann", "250", "1", "2", "3", "4",
                                                                  "2", "01.02.2024", "nice"};
    EXPECT_EQ(classic.texts, classicTexts);
    const HiScoresRow level = HiScoresRowAt(tables, HiScoresTable::Level, 1, 1);
    const std::array<std::string, HiScoresColumns> levelTexts = {" 2", "Ann", "900", "", "", "", "",
                                                                "12", "d", ""};
    EXPECT_EQ(level.texts, levelTexts);
    // One player, one colour, in both tables; an empty place is blue.
    EXPECT_EQ(classic.color, NameColor("Ann"));
    EXPECT_EQ(level.color, classic.color);
    const HiScoresRow empty = HiScoresRowAt(tables, HiScoresTable::Classic, 1, 2);
    EXPECT_EQ(empty.color, (Rgb{0, 0, 255}));
    EXPECT_EQ(empty.Text(HiScoresColumn::Lines4), "0");
    EXPECT_EQ(empty.Text(HiScoresColumn::Player), "");

    EXPECT_EQ(TableForEndedMode(0), HiScoresTable::Classic);
    EXPECT_EQ(TableForEndedMode(1), HiScoresTable::Classic);
    EXPECT_EQ(TableForEndedMode(2), HiScoresTable::Level);
    const HiScoresTexts texts = ComposeHiScoresTexts(EnglishTexts());
    EXPECT_EQ(texts.syncTooltip, "For this second table place in ~/");
    EXPECT_EQ(texts.headers[static_cast<std::size_t>(HiScoresColumn::Lines3)], "3");
    EXPECT_EQ(texts.headers[static_cast<std::size_t>(HiScoresColumn::Score)], "Score");
}

} // namespace
} // namespace plumix
