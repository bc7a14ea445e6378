#include "settings/file_io.h"
#include "settings/language.h"
#include "settings/scratch_folder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace plumix {
namespace {

using testing::WriteFile;

TextTable English()
{
    TextTable texts;
    FillDefaultTexts(texts);
    return texts;
}

long Filled(const TextTable& texts)
{
    return std::count_if(texts.begin(), texts.end(), [](const std::string& t) { return !t.empty(); });
}

TEST(Language, InsideMissingOrEmptyFilesGiveExactlyEnglish)
{
    testing::ScratchFolder folder;
    WriteFile(folder / "empty.lag", "Leer\r\n1.4\r\n");
    for (const char* choice : {"inside", "empty.lag", "gone.lag"}) {
        TextTable texts;
        texts[950] = "left over from the language before";
        LoadLanguage(texts, choice, folder.Path());
        EXPECT_EQ(texts, English()) << choice;
    }
    EXPECT_EQ(Filled(English()), 72);
}

TEST(Language, UtfAndWindowsFilesGiveTheSameEntriesInBothForms)
{
    for (const char* file : {"demo_utf8.lag", "demo_1251.lag"}) {
        SCOPED_TRACE(file);
        TextTable texts;
        LoadLanguage(texts, file, PLUMIX_TEST_DATA);
        EXPECT_EQ(texts[100], "Новая игра 2");  // the later of two entries
        EXPECT_EQ(texts[101], "Вторая, с запятой");
        EXPECT_EQ(texts[120], "  Дальше, ещё");
        EXPECT_EQ(texts[950], "Nobody shows this");
        EXPECT_EQ(texts[501], "Load skin");             // empty entry
        EXPECT_EQ(texts[502], "Load hi-scores table");  // a number on the last line, no text
        EXPECT_EQ(Filled(texts), 73);  // entries outside 0..999 went with their texts
    }
}

TEST(Language, ShippedTranslationsGiveEveryBuiltInText)
{
    const TextTable english = English();
    for (const char* file : {"Russian.lag", "Deutsch.lag"}) {
        const auto bytes = ReadFileBytes(std::filesystem::path(PLUMIX_ASSETS) / file);
        ASSERT_TRUE(bytes) << file;
        TextTable entries;
        ReadLanguageEntries(entries, *bytes);
        for (std::size_t n = 0; n < english.size(); ++n) {
            EXPECT_TRUE(english[n].empty() || !entries[n].empty()) << file << ": " << n;
        }
    }
    TextTable russian;
    LoadLanguage(russian, "Russian.lag", PLUMIX_ASSETS);
    EXPECT_EQ(russian[103], "Рекорды");
}

TEST(Language, MainWindowTextsCarryTheFixedKeyHints)
{
    const MainWindowTexts running = ComposeMainWindowTexts(English(), false);
    EXPECT_EQ(running.buttonCaptions[2], "Pause");
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
    testing::ScratchFolder folder;
    WriteFile(folder / "b.lag", "Bravo\r\n1.4 \r\n");
    WriteFile(folder / "a.lag", "Альфа\r\n1.4\r\n100,x\r\n");
    WriteFile(folder / "c.LAG", "\xD1\xE8\xED\xE8\xE9\n1.4");  // Windows-1251 name, LF only
    WriteFile(folder / "d.lag", "Only a name");
    WriteFile(folder / "e.txt", "E\r\n1.4\r\n");
    std::filesystem::create_directories(folder / "f.lag");
    const auto list = ListLanguages(folder.Path());
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].displayName + list[0].fileName, "Englishinside");
    EXPECT_EQ(list[1].displayName + list[1].fileName, "Альфаa.lag");
    EXPECT_EQ(list[2].displayName + list[2].fileName, "Синийc.LAG");

    for (int i = 0; i < 120; ++i) {
        WriteFile(folder / ("many" + std::to_string(i) + ".lag"), "M\r\n1.4\r\n");
    }
    EXPECT_EQ(ListLanguages(folder.Path()).size(), MaxLanguageChoices);
}

} // namespace
} // namespace plumix
