#include "settings/file_io.h"
#include "settings/language.h"
#include "settings/scratch_folder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace plumix {
namespace {

using testing::ScratchFolder;
using testing::WriteFile;

TextTable English()
{
    TextTable texts;
    FillDefaultTexts(texts);
    return texts;
}

std::vector<int> BuiltInNumbers()
{
    const TextTable english = English();
    std::vector<int> numbers;
    for (int n = 0; n < TextCount; ++n) {
        if (!english[static_cast<std::size_t>(n)].empty()) {
            numbers.push_back(n);
        }
    }
    return numbers;
}

TEST(Language, InsideGivesExactlyTheEnglishTable)
{
    TextTable texts;
    texts[950] = "left over from another language";
    texts[100] = "Neues Spiel";
    LoadLanguage(texts, "inside", PLUMIX_TEST_DATA);
    EXPECT_EQ(texts, English());
    EXPECT_EQ(BuiltInNumbers().size(), 72u);
}

TEST(Language, EntriesInBothFormsLaterOnesWinAndGapsAreEnglish)
{
    for (const char* file : {"demo_utf8.lag", "demo_1251.lag"}) {
        SCOPED_TRACE(file);
        TextTable texts;
        LoadLanguage(texts, file, PLUMIX_TEST_DATA);
        EXPECT_EQ(texts[100], "Новая игра 2");
        EXPECT_EQ(texts[101], "Вторая, с запятой");
        EXPECT_EQ(texts[120], "  Дальше, ещё");
        EXPECT_EQ(texts[950], "Nobody shows this");
        EXPECT_EQ(texts[501], "Load skin");             // empty entry
        EXPECT_EQ(texts[502], "Load hi-scores table");  // number on the last line, no text
        EXPECT_EQ(texts[102], "PAUSE");
        // The out-of-range entries took their texts with them.
        const auto filled = std::count_if(texts.begin(), texts.end(), [](const auto& t) { return !t.empty(); });
        EXPECT_EQ(filled, 73);
    }
}

TEST(Language, MissingOrHeaderOnlyFilesGiveEnglish)
{
    ScratchFolder folder;
    WriteFile(folder / "empty.lag", "Leer\r\n1.4\r\n");
    TextTable texts;
    LoadLanguage(texts, "empty.lag", folder.Path());
    EXPECT_EQ(texts, English());
    texts[5] = "stale";
    LoadLanguage(texts, "gone.lag", folder.Path());
    EXPECT_EQ(texts, English());
}

TEST(Language, ShippedTranslationsGiveEveryBuiltInText)
{
    for (const char* file : {"Russian.lag", "Deutsch.lag"}) {
        SCOPED_TRACE(file);
        const auto bytes = ReadFileBytes(std::filesystem::path(PLUMIX_ASSETS) / file);
        ASSERT_TRUE(bytes);
        TextTable entries;
        ReadLanguageEntries(entries, *bytes);
        for (const int n : BuiltInNumbers()) {
            EXPECT_FALSE(entries[static_cast<std::size_t>(n)].empty()) << n;
        }
    }
    TextTable russian;
    LoadLanguage(russian, "Russian.lag", PLUMIX_ASSETS);
    EXPECT_EQ(russian[103], "Рекорды");
}

TEST(Language, MainWindowTextsCarryTheFixedKeyHints)
{
    const MainWindowTexts running = ComposeMainWindowTexts(English(), false);
    EXPECT_EQ(running.buttonCaptions,
              (std::array<std::string, 6>{"New game Plumix", "New game Plumix 2", "Pause", "Hi-scores", "Setting", "Help"}));
    EXPECT_EQ(running.buttonTooltips,
              (std::array<std::string, 6>{"Begin new game of Classic Plumix (F2)", "Begin new game of Plumix 2 (F3)",
                                          "Pause/resume game (Space)", "Show hi-scores table... (F5)",
                                          "Game settings... (F8)", "About game and creators..."}));
    EXPECT_EQ(running.closeTooltip, "Quit (Esc)");
    EXPECT_EQ(running.minimizeTooltip, "Minimize window");
    EXPECT_EQ(running.labels,
              (std::array<std::string, 7>{"Score", "Level", "1 line", "2 lines", "3 lines", "4 lines", "Next"}));
    EXPECT_FALSE(running.pausedStatus);

    TextTable german;
    LoadLanguage(german, "Deutsch.lag", PLUMIX_ASSETS);
    const MainWindowTexts paused = ComposeMainWindowTexts(german, true);
    EXPECT_EQ(paused.buttonCaptions[2], german[107]);
    EXPECT_EQ(paused.buttonTooltips[2], german[112] + " (" + german[127] + ")");
    EXPECT_EQ(paused.pausedStatus, german[102]);
}

TEST(Language, OnlyVersion14FilesAreOfferedAfterEnglish)
{
    ScratchFolder folder;
    WriteFile(folder / "b.lag", "Bravo\r\n1.4 \r\n");
    WriteFile(folder / "a.lag", "Альфа\r\n1.4\r\n100,x\r\n");
    WriteFile(folder / "c.LAG", "\xD1\xE8\xED\xE8\xE9\n1.4");  // Windows-1251 name, LF only
    WriteFile(folder / "d.lag", "Only a name");
    WriteFile(folder / "e.txt", "E\r\n1.4\r\n");
    std::filesystem::create_directories(folder / "f.lag");
    const auto list = ListLanguages(folder.Path());
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].displayName, "English");
    EXPECT_EQ(list[0].fileName, "inside");
    EXPECT_EQ(list[1].displayName, "Альфа");
    EXPECT_EQ(list[1].fileName, "a.lag");
    EXPECT_EQ(list[2].displayName, "Синий");
    EXPECT_EQ(list[2].fileName, "c.LAG");

    for (int i = 0; i < 120; ++i) {
        WriteFile(folder / ("many" + std::to_string(i) + ".lag"), "M\r\n1.4\r\n");
    }
    EXPECT_EQ(ListLanguages(folder.Path()).size(), MaxLanguageChoices);
}

} // namespace
} // namespace plumix
