#include "settings/settings_file.h"
#include "settings/scratch_folder.h"

#include <gtest/gtest.h>

namespace plumix {
namespace {

using testing::FileBytes;
using testing::ScratchFolder;

TEST(SettingsFile, DefaultsAreWrittenByteForByteAndEveryValueComesBack)
{
    ScratchFolder folder;
    const auto path = folder / "plumix.ini";
    ASSERT_TRUE(SaveSettings(path, Settings{}));
    EXPECT_EQ(FileBytes(path), "inside\r\n 2 \r\n 2 \r\n 1 \r\n 2 \r\n 1 \r\n 1 \r\nStandart.psk\r\n 1 \r\n"
                               " 200 \r\n 200 \r\n 200 \r\n 100 \r\n 100 \r\n 100 \r\n 1 \r\n");

    const Settings s{" Мой язык, v2 .lag", 1, 7, 2, 1, 2, 2, "Night, blue.psk", 2, {0, 255, 1}, {2, 3, 250}, 2};
    ASSERT_TRUE(SaveSettings(path, s));
    EXPECT_EQ(LoadSettings(path), s);
}

TEST(SettingsFile, AMissingFileIsCreatedEmptyAndALoadNeverChangesAFile)
{
    ScratchFolder folder;
    const auto path = folder / "plumix.ini";
    EXPECT_EQ(LoadSettings(path), Settings{});
    EXPECT_EQ(FileBytes(path), "");
    testing::WriteFile(path, "x.lag\n1");
    EXPECT_EQ(LoadSettings(path).showGrid, 1);
    EXPECT_EQ(FileBytes(path), "x.lag\n1");
    EXPECT_EQ(LoadSettings(folder / "no-such-folder" / "plumix.ini"), Settings{});
}

TEST(SettingsFile, ShortOrOddFilesKeepTheDefaultsOfWhatTheyLack)
{
    EXPECT_EQ(ParseSettings("inside"), Settings{});
    // A line that is not a whole number 0..255 keeps its default and shifts nothing.
    Settings expected;
    expected.languageFile = "de.lag";
    expected.rotateDir = 1;
    expected.musicOn = 0;
    expected.skinFile = "sk.psk";
    EXPECT_EQ(ParseSettings("de.lag\n300\r\n-1\r\nabc\r\n 1 , 9\r\n\r\n   0\r\nsk.psk\r\n"), expected);
    EXPECT_EQ(ParseSettings(SerializeSettings(expected) + "extra line\r\n 5 \r\n"), expected);
}

TEST(SettingsFile, ANameWithALineBreakCannotShiftTheLinesAfterIt)
{
    Settings s;
    s.languageFile = "two\nlines.lag";
    s.skinFile = "mine.psk";
    const Settings back = ParseSettings(SerializeSettings(s));
    EXPECT_EQ(back.languageFile, "inside");
    EXPECT_EQ(back.skinFile, "mine.psk");
}

} // namespace
} // namespace plumix
