#include "scores/name_color.h"
#include "scores/record_entry.h"

#include <gtest/gtest.h>

namespace plumix {
namespace {

TEST(NameColor, XorOfTheBytesIsRedTheirFoldedSumGreen)
{
    EXPECT_EQ(NameColor("A"), (Rgb{65, 65, 255}));
    EXPECT_EQ(NameColor("AB"), (Rgb{3, 131, 255}));
    EXPECT_EQ(NameColor(""), (Rgb{0, 0, 255}));
    // The sum folds by 255 while above 255: 510 gives 255, 511 gives 1, never 0.
    EXPECT_EQ(NameColor("яя"), (Rgb{0, 255, 255}));
    EXPECT_EQ(NameColor("яя\x01"), (Rgb{1, 1, 255}));
    // The Windows-1251 bytes count, as stored: a character the code page
    // lacks colours like the '?' it becomes.
    EXPECT_EQ(NameColor("Ё"), (Rgb{0xA8, 0xA8, 255}));
    EXPECT_EQ(NameColor("日"), NameColor("?"));
}

GameState EndedGame()
{
    GameState state;
    state.score = 4321;
    state.lines = {7, 3, 2, 1};
    state.level = 4;
    return state;
}

TEST(RecordEntry, ClassicEntriesKeepTheCountersLevelEntriesDoNot)
{
    TextTable texts{};
    FillDefaultTexts(texts);
    EXPECT_EQ(RecordEntryPrompt(texts, 1), "Congratulations! You are 1th. Enter your name:");
    EXPECT_EQ(RecordCommentPrompt(texts), "Your comment about game:");

    RecordTables tables;
    std::string lastName;
    FinishRecordEntry(tables, lastName, GameModeClassic, 3, EndedGame(), {"Ann", "close one", "01.02.2024"});
    EXPECT_EQ(tables.classic.At(3), (Record{"Ann", 4321, 7, 3, 2, 1, "01.02.2024", "close one", 4}));
    EXPECT_EQ(lastName, "Ann");
    FinishRecordEntry(tables, lastName, GameModeLevels, 1, EndedGame(), {"Bob", "", "d"});
    EXPECT_EQ(tables.level.At(1), (Record{"Bob", 4321, 0, 0, 0, 0, "d", "", 4}));
    EXPECT_EQ(tables.classic.At(1), Record{});
    EXPECT_EQ(lastName, "Bob");
}

TEST(RecordEntry, TypedTextsStayOnOneLineAndNumbersInTheirFields)
{
    RecordTables tables;
    std::string lastName;
    GameState odd = EndedGame();
    odd.score = 5'000'000'000;
    odd.level = 300;
    FinishRecordEntry(tables, lastName, GameModeClassic, 100, odd, {"A\r\nB", "x\ny", "d"});
    EXPECT_EQ(tables.classic.At(100), (Record{"A  B", 2147483647, 7, 3, 2, 1, "d", "x y", 255}));
    EXPECT_EQ(lastName, "A  B");

    // A mode or place no table has writes nothing; the name is still kept.
    const RecordTables before = tables;
    for (auto [mode, place] : {std::pair{0, 1}, {1, 0}, {2, 101}}) {
        FinishRecordEntry(tables, lastName, mode, place, EndedGame(), {"Cy", "", ""});
    }
    EXPECT_EQ(tables.classic, before.classic);
    EXPECT_EQ(tables.level, before.level);
    EXPECT_EQ(lastName, "Cy");
}

} // namespace
} // namespace plumix
