// Every reader against files no program of ours wrote: back at once, no crash, hang or unbounded growth.
#include "base/text_codec.h"
#include "scores/records_file.h"
#include "settings/language.h"
#include "settings/settings_file.h"
#include "settings/skin.h"
#include "sound/wav.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sys/stat.h>

namespace plumix {
namespace {

using testing::FileBytes;
using testing::ScratchFolder;
using testing::WriteFile;

TEST(MalformedFiles, EveryReaderComesBackSane)
{
    TextTable english{};
    FillDefaultTexts(english);
    std::mt19937 random(1234);
    std::string junk(1 << 16, '\0');
    std::generate(junk.begin(), junk.end(), [&] { return static_cast<char>(random()); });
    // A piece repeated; the flag: no line holds a number 0..255, so nothing may be taken from the file.
    const std::tuple<const char*, std::string, int, bool> corpus[] = {
        {"empty", "", 1, false},
        {"binary junk", junk, 1, false},
        {"one 10 MB line", std::string(10'000'000, '7'), 1, true},
        {"huge numbers", "99999999999999999999999\r\n 4294967296 \r\n", 800, true},
        {"negative numbers", "-1\r\n -300, -2\r\n", 800, true},
    };
    for (const auto& [name, piece, times, noSmallNumber] : corpus) {
        SCOPED_TRACE(name);
        std::string bytes;
        for (int i = 0; i < times; ++i) {
            bytes += piece;
        }
        ScratchFolder folder;
        WriteFile(folder / "plumix.ini", bytes);
        const Settings settings = LoadSettings(folder / "plumix.ini");
        // Whatever was read, the game gets only what it can write back: every setting but a name survives a round.
        Settings back = ParseSettings(SerializeSettings(settings));
        back.languageFile = settings.languageFile;
        back.skinFile = settings.skinFile;
        EXPECT_EQ(back, settings);
        if (noSmallNumber) {
            EXPECT_EQ(settings, (Settings{.languageFile = settings.languageFile, .skinFile = settings.skinFile}));
        }

        // Behind a name and a version line, so that the numbers are read.
        WriteFile(folder / "bad.lag", "Bad\r\n1.4\r\n" + bytes);
        TextTable texts;
        LoadLanguage(texts, "bad.lag", folder.Path());
        EXPECT_TRUE(std::all_of(texts.begin(), texts.begin() + 800, [](const std::string& t) { return IsValidUtf8(t); }));
        EXPECT_TRUE(!texts[TextNewClassicButton].empty());
        if (noSmallNumber) {
            EXPECT_EQ(texts, english);  // no number a text could be filed under
        }

        WriteFile(folder / "Skins/bad.psk", "Bad\r\n1.4\r\n" + bytes);
        const SkinFileContents skin = ReadSkinFile({folder.Path()}, "bad.psk");
        EXPECT_NE(skin.status, SkinReadStatus::Missing);
        if (noSmallNumber) {
            EXPECT_TRUE(!skin.text && !skin.back);
        }

        WriteFile(folder / "Records", bytes);
        RecordTables tables;
        EXPECT_TRUE(LoadRecords(folder / "Records", tables).ok);
        EXPECT_EQ(FileBytes(folder / "Records"), bytes);  // the game's own file, left as it is
        if (noSmallNumber) {
            EXPECT_EQ(ReadRecords(bytes).tables.classic, RecordTable{});
        }

        WriteFile(folder / "bad.wav", bytes);
        EXPECT_FALSE(ReadWavFile(folder / "bad.wav"));
    }

    // A pipe in place of a file would block a reader forever.
    ScratchFolder folder;
    ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
    EXPECT_EQ(LoadSettings(folder / "pipe"), Settings{});
    RecordTables tables;
    EXPECT_FALSE(LoadRecords(folder / "pipe", tables).ok);
    std::filesystem::create_directories(folder / "Skins");
    ASSERT_EQ(::mkfifo((folder / "Skins/pipe").c_str(), 0600), 0);
    EXPECT_EQ(ReadSkinFile({folder.Path()}, "pipe").status, SkinReadStatus::Missing);
    EXPECT_FALSE(ReadWavFile(folder / "pipe"));
}

} // namespace
} // namespace plumix
