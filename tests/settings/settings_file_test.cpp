#include "settings/settings_file.h"
#include "settings/scratch_folder.h"

#include <gtest/gtest.h>

namespace plumix {
namespace {

using testing::FileBytes;
using testing::ScratchFolder;
using testing::WriteFile;

constexpr std::string_view DefaultFile =
    "inside\r\n 2 \r\n 2 \r\n 1 \r\n 2 \r\n 1 \r\n 1 \r\nStandart.psk\r\n 1 \r\n"
    " 200 \r\n 200 \r\n 200 \r\n 100 \r\n 100 \r\n 100 \r\n 1 \r\n";

TEST(SettingsFile, DefaultsAreWrittenByteForByte)
{
    ScratchFolder folder;
    EXPECT_EQ(SerializeSettings(Settings{}), DefaultFile);
    ASSERT_TRUE(SaveSettings(folder / "plumix.ini", Settings{}));
    EXPECT_EQ(FileBytes(folder / "plumix.ini"), DefaultFile);
}

TEST(SettingsFile, MissingFileIsCreatedEmptyAndAnExistingOneNeverChangedByALoad)
{
    ScratchFolder folder;
    const auto path = folder / "plumix.ini";
    EXPECT_EQ(LoadSettings(path), Settings{});
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);

    WriteFile(path, "x.lag\n1");
    EXPECT_EQ(LoadSettings(path).languageFile, "x.lag");
    EXPECT_EQ(FileBytes(path), "x.lag\n1");
    EXPECT_EQ(LoadSettings(folder / "no-such-folder" / "plumix.ini"), Settings{});
}

TEST(SettingsFile, EveryValueSurvivesASaveAndALoad)
{
    ScratchFolder folder;
    Settings s;
    s.languageFile = " Мой язык, v2 .lag";
    s.skinFile = "Night, blue.psk";
    s.showGrid = 1;
    s.spareSetting = 7;
    s.showNext = 2;
    s.rotateDir = 1;
    s.soundOn = 2;
    s.musicOn = 2;
    s.colorsFromSkin = 2;
    s.textColor = {0, 255, 1};
    s.backColor = {2, 3, 250};
    s.moveDuringFall = 2;
    ASSERT_TRUE(SaveSettings(folder / "plumix.ini", s));
    EXPECT_EQ(LoadSettings(folder / "plumix.ini"), s);
}

TEST(SettingsFile, ShortOrOddFilesKeepTheDefaultsOfWhatTheyLack)
{
    EXPECT_EQ(ParseSettings(""), Settings{});
    EXPECT_EQ(ParseSettings("inside"), Settings{});

    // Numbers with blanks or a trailing comma are fine; a line that is not a
    // whole number 0..255 keeps its default and shifts nothing.
    const Settings odd = ParseSettings("de.lag\n300\r\n-1\r\nabc\r\n 1 , 9\r\n\r\n   0\r\nsk.psk\r\n");
    Settings expected;
    expected.languageFile = "de.lag";
    expected.rotateDir = 1;
    expected.musicOn = 0;
    expected.skinFile = "sk.psk";
    EXPECT_EQ(odd, expected);

    Settings s;
    s.moveDuringFall = 9;
    EXPECT_EQ(ParseSettings(SerializeSettings(s) + "extra line\r\n 5 \r\n"), s);
}

TEST(SettingsFile, ANameWithALineBreakCannotShiftTheLinesAfterIt)
{
    Settings s;
    s.languageFile = "two\nlines.lag";
    s.skinFile = "mine.psk";
    s.showNext = 2;
    const Settings back = ParseSettings(SerializeSettings(s));
    EXPECT_EQ(back.languageFile, "inside");
    EXPECT_EQ(back.skinFile, "mine.psk");
    EXPECT_EQ(back.showNext, 2);
}

} // namespace
} // namespace plumix
