// Every reader against files no program of ours wrote: each must come back
// at once, never crash, hang or grow without bound.
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
        if (noSmallNumber) {
            EXPECT_EQ(settings, (Settings{.languageFile = settings.languageFile, .skinFile = settings.skinFile}));
        }

        WriteFile(folder / "bad.lag", bytes);
        TextTable texts;
        LoadLanguage(texts, "bad.lag", folder.Path());
        // A file without a usable number changes no text.
        EXPECT_TRUE(!noSmallNumber || texts == english);
        EXPECT_EQ(ListLanguages({folder.Path()}).size(), 1u);

        WriteFile(folder / "Skins/bad.psk", bytes);
        const SkinFileContents skin = ReadSkinFile({folder.Path()}, "bad.psk");
        EXPECT_TRUE(!noSmallNumber || (skin.status == SkinReadStatus::BadColors && !skin.text && !skin.back));
        EXPECT_TRUE(ListSkinsIn({folder.Path()}).empty());

        WriteFile(folder / "Records", bytes);
        RecordTables tables;
        EXPECT_TRUE(LoadRecords(folder / "Records", tables).ok);
        EXPECT_EQ(FileBytes(folder / "Records"), bytes);
        EXPECT_TRUE(!noSmallNumber || ReadRecords(bytes).tables.classic == RecordTable{});

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
