// The settings, language and skin files as the game reads and writes them, and
// the ones it offers from the player's folder and the installed data.
#include "base/game_folders.h"
#include "settings/language.h"
#include "settings/settings_file.h"
#include "settings/skin.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace plumix {
namespace {

using testing::FileBytes;
using testing::ScratchFolder;
using testing::WriteFile;

const std::filesystem::path TestData = PLUMIX_TEST_DATA;
const std::filesystem::path Assets = PLUMIX_ASSETS;

TEST(SettingsFile, DefaultsByteForByteEveryValueBackAndOddLinesKeepTheirDefaults)
{
    ScratchFolder folder;
    const auto path = folder / "plumix.ini";
    EXPECT_EQ(LoadSettings(path), Settings{});
    EXPECT_EQ(FileBytes(path), "");  // a missing file is created empty
    ASSERT_TRUE(SaveSettings(path, Settings{}));
    EXPECT_EQ(FileBytes(path), "inside\r\n 2 \r\n 2 \r\n 1 \r\n 2 \r\n 1 \r\n 1 \r\nStandart.psk\r\n 1 \r\n"
                               " 200 \r\n 200 \r\n 200 \r\n 100 \r\n 100 \r\n 100 \r\n 1 \r\n");
    // What a byte means: only 2 turns the sound and moving in a fast drop off,
    // only 1 turns the grid, the preview, music and the skin's colours on, only 2 turns clockwise.
    const Settings sevens = ParseSettings("x\n7\n7\n7\n7\n7\n7\ny\n7\n1\n2\n3\n4\n5\n6\n7\n");
    EXPECT_EQ(std::tuple(sevens.play.showGrid, sevens.play.showNext, sevens.play.rotation, sevens.soundOn,
                         sevens.musicOn, sevens.colorsFromSkin, sevens.play.moveDuringFall),
              std::tuple(false, false, Rotation::Counterclockwise, true, false, false, true));
    EXPECT_EQ(std::tuple(sevens.spareSetting, sevens.textColor, sevens.backColor), std::tuple(7, Rgb{1, 2, 3}, Rgb{4, 5, 6}));

    const Settings s{" Мой язык, v2 .lag", 7,          false, false, "Night, blue.psk", false, {0, 255, 1}, {2, 3, 250},
                     {true, false, Rotation::Counterclockwise, false}};
    ASSERT_TRUE(SaveSettings(path, s));
    EXPECT_EQ(LoadSettings(path), s);
    Settings broken = s, expected = s;  // a name with a line break cannot shift the lines after it
    broken.languageFile = "two\nlines.lag";
    expected.languageFile = "inside";
    EXPECT_EQ(ParseSettings(SerializeSettings(broken)), expected);

    WriteFile(path, "x.lag\n1");  // a load never changes the file
    EXPECT_EQ(LoadSettings(path), (Settings{.languageFile = "x.lag", .play = {.showGrid = true}}));
    EXPECT_EQ(FileBytes(path), "x.lag\n1");
    // A line that is not a whole number 0..255 keeps its default and shifts nothing.
    const Settings odd{.languageFile = "de.lag", .musicOn = false, .skinFile = "sk.psk",
                       .play = {.rotation = Rotation::Counterclockwise}};
    EXPECT_EQ(ParseSettings("de.lag\n18446744073709551617\r\n-1\r\n12abc\r\n 1 , 9\r\n\r\n   0\r\nsk.psk\r\n"), odd);
    EXPECT_EQ(ParseSettings(SerializeSettings(odd) + "extra line\r\n 5 \r\n"), odd);
}

TEST(Language, BothEncodingsAndEntryFormsAndEnglishInTheGaps)
{
    TextTable english{};
    FillDefaultTexts(english);
    const auto filled = [](const TextTable& t) { return std::ranges::count_if(t, [](auto& s) { return !s.empty(); }); };
    for (const char* file : {"demo_utf8.lag", "demo_1251.lag"}) {
        SCOPED_TRACE(file);
        TextTable texts;
        texts[951] = "left over from the language before";
        LoadLanguage(texts, file, TestData);
        EXPECT_EQ(texts[100], "Новая игра 2");  // the later of two entries
        EXPECT_EQ(texts[101], "Вторая, с запятой");
        EXPECT_EQ(texts[120], "  Дальше, ещё");
        EXPECT_EQ(texts[950], "Nobody shows this");
        EXPECT_EQ(texts[501], "Load skin");             // empty entry
        EXPECT_EQ(texts[502], "Load hi-scores table");  // a number on the last line, no text
        EXPECT_EQ(filled(texts), filled(english) + 1);  // entries outside 0..999 went with their texts
    }
    ScratchFolder folder;
    WriteFile(folder / "empty.lag", "Leer\r\n1.4\r\n");
    for (const char* choice : {"inside", "empty.lag", "gone.lag"}) {
        TextTable texts;
        texts[950] = "left over";
        LoadLanguage(texts, choice, folder.Path());
        EXPECT_EQ(texts, english) << choice;
    }
}

TEST(Skin, CommaSeparatedColoursAWindowsFolderAndTheShippedSkinsPicturesAtBothResolutions)
{
    const SkinFileContents skin = ReadSkinFile({TestData}, "Comma.psk");
    EXPECT_EQ(skin.pictureFolder, "Skins/Comma/pictures");
    SkinColors skinColors;
    Settings fromSkin, own{.colorsFromSkin = false};
    TakeSkinColors(skin, skinColors, fromSkin);
    EXPECT_EQ(skinColors, (SkinColors{{255, 255, 255}, {0, 0, 128}}));
    EXPECT_EQ(std::pair(fromSkin.textColor, fromSkin.backColor), std::pair(skinColors.text, skinColors.back));
    TakeSkinColors(skin, skinColors, own);
    EXPECT_EQ(own, (Settings{.colorsFromSkin = false}));

    // 300 spoils the text colour; the back colour after it is still whole.
    SkinColors kept{{9, 9, 9}, {8, 8, 8}};
    const SkinFileContents bad = ParseSkin("Bad\r\n1.4\r\n\r\npics\r\n255\r\n300\r\n0\r\n1,2,3\r\n");
    EXPECT_EQ(bad.status, SkinReadStatus::BadColors);
    TakeSkinColors(bad, kept, fromSkin);
    EXPECT_EQ(kept, (SkinColors{{9, 9, 9}, {1, 2, 3}}));
    EXPECT_EQ(std::pair(fromSkin.textColor, fromSkin.backColor), std::pair(Rgb{255, 255, 255}, Rgb{1, 2, 3}));
    EXPECT_EQ(ReadSkinFile({TestData}, "NoSuch.psk").status, SkinReadStatus::Missing);

    const auto skins = ListSkinsIn({Assets});
    ASSERT_FALSE(skins.empty());
    for (const OfferedFile& offered : skins) {
        const SkinFileContents shipped = ReadSkinFile({Assets}, offered.fileName);
        EXPECT_EQ(shipped.status, SkinReadStatus::Ok) << offered.fileName;
        for (const std::string_view picture : SkinPictureFiles) {
            for (const std::string& name : {std::string(picture), DoubledPictureName(picture)}) {
                EXPECT_TRUE(std::filesystem::is_regular_file(Assets / PicturePath(shipped.pictureFolder, name)))
                    << offered.fileName << ": " << name;
            }
        }
    }
}

TEST(OfferedFiles, ThePlayersFilesComeFirstAndEachNameIsOfferedOnce)
{
    ScratchFolder user, installed;
    const std::vector<std::filesystem::path> folders{user.Path(), installed.Path()};
    WriteFile(installed / "Data/plumix2.bin", "x");
    WriteFile(installed / "Skins/Standart.psk", "Standard\n1.4\n");
    WriteFile(installed / "Skins/Neon.psk", "Neon\n1.4\n");
    WriteFile(user / "Skins/Neon.psk", "My neon\n1.4\n");
    WriteFile(user / "Skins/Mine.psk", "Mine\n1.4\n");
    WriteFile(installed / "Deutsch.lag", "Deutsch\n1.4\n");
    WriteFile(user / "Klingon.lag", "tlhIngan\n1.4\n");
    // Only version 1.4 files are offered, after English, by their first line in either encoding.
    WriteFile(user / "a.lag", "Альфа\r\n1.4\r\n100,x\r\n");
    WriteFile(user / "b.lag", "Bravo\r\n1.4 \r\n");
    WriteFile(user / "c.LAG", "\xD1\xE8\xED\xE8\xE9\n1.4");  // Windows-1251 name, LF only
    WriteFile(user / "d.lag", "Only a name");
    WriteFile(user / "e.txt", "E\r\n1.4\r\n");

    EXPECT_EQ((std::vector{FolderHolding(folders, "Data/plumix2.bin"), FolderHolding(folders, "Skins/Neon.psk"),
                           FolderHolding(folders, "Skins/Gone.psk")}),
              (std::vector{installed.Path(), user.Path(), user.Path()}));
    const auto names = [](const std::vector<OfferedFile>& offered) {
        std::vector<std::string> names;
        for (const OfferedFile& f : offered) {
            names.push_back(f.displayName + "=" + f.fileName);
        }
        return names;
    };
    EXPECT_EQ(names(ListSkinsIn(folders)), (std::vector<std::string>{"Mine=Mine.psk", "My neon=Neon.psk", "Standard=Standart.psk"}));
    EXPECT_EQ(names(ListLanguages(folders)),
              (std::vector<std::string>{"English=inside", "Deutsch=Deutsch.lag", "tlhIngan=Klingon.lag", "Альфа=a.lag",
                                        "Синий=c.LAG"}));

    // Never more than the list's 101 positions, however many files there are.
    for (int i = 0; i < 60; ++i) {
        WriteFile(user / ("Skins/u" + std::to_string(i) + ".psk"), "U\n1.4\n");
        WriteFile(installed / ("Skins/i" + std::to_string(i) + ".psk"), "I\n1.4\n");
    }
    EXPECT_EQ(ListSkinsIn(folders).size(), MaxSkinChoices);
}

} // namespace
} // namespace plumix
