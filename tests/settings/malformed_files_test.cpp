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
using testing::ScratchFolder;
using testing::WriteFile;

std::string Repeat(std::string_view piece, std::size_t times)
{
    std::string out;
    out.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) {
        out += piece;
    }
    return out;
}

std::string Junk(std::size_t size)
{
    std::mt19937 random(1234);
    std::string out(size, '\0');
    for (char& c : out) {
        c = static_cast<char>(random());
    }
    return out;
}

std::string Corpus(std::string_view name)
{
    if (name == "binary-junk") {
        return Junk(1 << 16);
    }
    if (name == "one-long-line") {
        return std::string(10'000'000, '7');
    }
    if (name == "huge-numbers") {
        return Repeat("99999999999999999999999\r\n 4294967296 \r\n", 800);
    }
    if (name == "negative-numbers") {
        return Repeat("-1\r\n -300, -2\r\n", 800);
    }
    if (name == "nul-and-cr") {
        return Repeat(std::string_view("\0\r\r\n\0,", 6), 5000);
    }
    if (name == "empty-lines") {
        return std::string(1'000'000, '\n');
    }
    if (name == "riff-header-only") {
        return std::string("RIFF\xFF\xFF\xFF\xFFWAVEdata\xFF\xFF\xFF\xFF", 20);
    }
    return {};
}

class MalformedFiles : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override { bytes = Corpus(GetParam()); }
    std::string bytes;
    ScratchFolder folder;
};

// Files in which no line is a number 0..255.
bool HoldsNoSmallNumber(std::string_view name)
{
    return name == "huge-numbers" || name == "negative-numbers" || name == "one-long-line";
}

TEST_P(MalformedFiles, SettingsKeepTheirDefaults)
{
    WriteFile(folder / "plumix.ini", bytes);
    const Settings settings = LoadSettings(folder / "plumix.ini");
    if (HoldsNoSmallNumber(GetParam())) {
        Settings expected;
        expected.languageFile = settings.languageFile;
        expected.skinFile = settings.skinFile;
        EXPECT_EQ(settings, expected);
    }
    EXPECT_EQ(FileBytes(folder / "plumix.ini"), bytes);
}

TEST_P(MalformedFiles, LanguageStaysComplete)
{
    WriteFile(folder / "bad.lag", bytes);
    TextTable texts;
    LoadLanguage(texts, "bad.lag", folder.Path());
    for (const int n : {100, 127, 502, 721}) {
        EXPECT_FALSE(texts[static_cast<std::size_t>(n)].empty()) << n;
    }
    EXPECT_EQ(ListLanguages(folder.Path()).size(), 1u);
}

TEST_P(MalformedFiles, SkinGivesNoColours)
{
    WriteFile(folder / "Skins/bad.psk", bytes);
    const SkinFileContents skin = ReadSkinFile(SkinFilePath(folder.Path(), "bad.psk"));
    if (HoldsNoSmallNumber(GetParam())) {
        EXPECT_EQ(skin.status, SkinReadStatus::BadColors);
        EXPECT_FALSE(skin.text || skin.back);
    }
    EXPECT_TRUE(ListSkins(folder / "Skins").empty());
}

TEST_P(MalformedFiles, RecordsLoadWithoutChangingTheFile)
{
    WriteFile(folder / "Records", bytes);
    RecordTables tables;
    EXPECT_EQ(LoadRecords(folder / "Records", tables), RecordsFileResult::Ok);
    EXPECT_EQ(FileBytes(folder / "Records"), bytes);
    // Unscrambled or not, these files hold no whole record.
    if (HoldsNoSmallNumber(GetParam())) {
        EXPECT_EQ(ParseRecords(bytes).classic, RecordTable{});
    }
}

TEST_P(MalformedFiles, SoundIsNoClip)
{
    WriteFile(folder / "bad.wav", bytes);
    EXPECT_FALSE(ReadWavFile(folder / "bad.wav"));
}

INSTANTIATE_TEST_SUITE_P(Corpus, MalformedFiles,
                         ::testing::Values("empty", "binary-junk", "one-long-line", "huge-numbers",
                                           "negative-numbers", "nul-and-cr", "empty-lines", "riff-header-only"),
                         [](const auto& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

} // namespace
} // namespace plumix
