// The Windows-1251 codec, and files written whole with the modes a player
// expects.
#include "base/file_io.h"
#include "base/text_codec.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <numeric>
#include <sys/stat.h>

namespace plumix {
namespace {

using testing::FileBytes;
using testing::ScratchFolder;
using testing::WriteFile;

TEST(TextCodec, Windows1251RoundTripsEveryByteAndMarksWhatItCannotHold)
{
    std::string all(256, '\0');
    std::iota(all.begin(), all.end(), '\0');
    EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all);
    EXPECT_EQ(Cp1251ToUtf8("\xCF\xF0\xE8\xE2\xE5\xF2 \xA8\xB8 \xB9 \x88"), "Привет Ёё № €");
    EXPECT_EQ(Utf8ToCp1251("日本 ok ÷ \xC0\xAF.\xC3"), "?? ok ? ??.?");  // overlong, then cut off
    // Latin letters the code page lacks keep their plain letter; what it has stays.
    EXPECT_EQ(Cp1251ToUtf8(Utf8ToCp1251("Jürgen Groß, Łódź, Ærø, Œuvre, ÿ, Ştefan, İ")),
              "Jurgen Gross, Lodz, AEro, OEuvre, y, Stefan, I");
    EXPECT_EQ(Cp1251ToUtf8(Utf8ToCp1251("Zoe\u0308 \u0308 ё€«»§")), "Zoe  ё€«»§");  // combining accents go
}

TEST(FileIo, NewFilesFollowTheUmaskAndRewrittenOnesKeepTheirMode)
{
    ScratchFolder folder;
    const auto modeOf = [](const std::filesystem::path& path) {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 01000;
    };
    for (const mode_t mask : {mode_t{027}, mode_t{0}, mode_t{077}}) {
        const mode_t before = ::umask(mask);
        const auto name = [&](const char* file) { return folder / (std::to_string(mask) + file); };
        EXPECT_TRUE(EnsureWritableFile(name("created empty")));
        EXPECT_TRUE(ReplaceFileContents(name("created whole"), "x"));
        ::umask(before);
        for (const char* file : {"created empty", "created whole"}) {
            EXPECT_EQ(modeOf(name(file)), 0666 & ~mask) << file << " under umask " << std::oct << mask;
        }
    }
    WriteFile(folder / "kept", "old");
    ::chmod((folder / "kept").c_str(), 0604);
    ASSERT_TRUE(ReplaceFileContents(folder / "kept", "new"));
    EXPECT_EQ(modeOf(folder / "kept"), 0604u);
    EXPECT_EQ(FileBytes(folder / "kept"), "new");
}

} // namespace
} // namespace plumix
