// Every reader of the game's files against files no program of ours wrote:
// each must come back at once with a sane state, never crash or hang.
#include "scores/records_file.h"
#include "settings/language.h"
#include "settings/settings_file.h"
#include "settings/skin.h"
#include "settings/wav.h"
#include "settings/scratch_folder.h"

#include <gtest/gtest.h>

#include <random>

namespace plumix {
namespace {

using testing::FileBytes;
using testing::WriteFile;

std::string Repeat(std::string_view piece, std::size_t times)
{
    std::string out;
    for (std::size_t i = 0; i < times; ++i) {
        out += piece;
    }
    return out;
}

std::string Corpus(std::string_view name)
{
    if (name == "binary_junk") {
        std::mt19937 random(1234);
        std::string junk(1 << 16, '\0');
        std::generate(junk.begin(), junk.end(), [&] { return static_cast<char>(random()); });
        return junk;
    }
    if (name == "one_long_line") {
        return std::string(10'000'000, '7');
    }
    if (name == "huge_numbers") {
        return Repeat("99999999999999999999999\r\n 4294967296 \r\n", 800);
    }
    if (name == "negative_numbers") {
        return Repeat("-1\r\n -300, -2\r\n", 800);
    }
    if (name == "nul_and_cr") {
        return Repeat(std::string_view("\0\r\r\n\0,", 6), 5000);
    }
    if (name == "empty_lines") {
        return std::string(1'000'000, '\n');
    }
    if (name == "riff_header_only") {
        return std::string("RIFF\xFF\xFF\xFF\xFFWAVEdata\xFF\xFF\xFF\xFF", 20);
    }
    return {};
}

class MalformedFiles : public ::testing::TestWithParam<std::string> {
protected:
    // Files in which no line is a number 0..255.
    bool NoSmallNumber() const
    {
        return GetParam() == "huge_numbers" || GetParam() == "negative_numbers" || GetParam() == "one_long_line";
    }
    const std::string bytes = Corpus(GetParam());
    testing::ScratchFolder folder;
};

TEST_P(MalformedFiles, EveryReaderComesBackSane)
{
    WriteFile(folder / "plumix.ini", bytes);
    const Settings settings = LoadSettings(folder / "plumix.ini");
    if (NoSmallNumber()) {
        Settings expected;
        expected.languageFile = settings.languageFile;
        expected.skinFile = settings.skinFile;
        EXPECT_EQ(settings, expected);
    }

    WriteFile(folder / "bad.lag", bytes);
    TextTable texts;
    LoadLanguage(texts, "bad.lag", folder.Path());
    EXPECT_FALSE(texts[502].empty());
    EXPECT_EQ(ListLanguages(folder.Path()).size(), 1u);

    WriteFile(folder / "Skins/bad.psk", bytes);
    const SkinFileContents skin = ReadSkinFile(SkinFilePath(folder.Path(), "bad.psk"));
    EXPECT_TRUE(!NoSmallNumber() || (skin.status == SkinReadStatus::BadColors && !skin.text && !skin.back));
    EXPECT_TRUE(ListSkins(folder / "Skins").empty());

    WriteFile(folder / "Records", bytes);
    RecordTables tables;
    EXPECT_EQ(LoadRecords(folder / "Records", tables), RecordsFileResult::Ok);
    EXPECT_EQ(FileBytes(folder / "Records"), bytes);
    EXPECT_TRUE(!NoSmallNumber() || ParseRecords(bytes).classic == RecordTable{});

    WriteFile(folder / "bad.wav", bytes);
    EXPECT_FALSE(ReadWavFile(folder / "bad.wav"));
}

INSTANTIATE_TEST_SUITE_P(Corpus, MalformedFiles,
                         ::testing::Values("empty", "binary_junk", "one_long_line", "huge_numbers",
                                           "negative_numbers", "nul_and_cr", "empty_lines", "riff_header_only"),
                         [](const auto& info) { return info.param; });

} // namespace
} // namespace plumix
