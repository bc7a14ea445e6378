// The Windows-1251 codec, and files written whole with the modes a player
// expects.
#include "base/file_io.h"
#include "base/text_codec.h"
#include "support/child_process.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <numeric>
#include <sys/resource.h>
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
    const mode_t before = ::umask(002);  // unlike every usual default and mode, so a fixed one shows
    EXPECT_TRUE(EnsureWritableFile(folder / "created empty"));
    EXPECT_TRUE(ReplaceFileContents(folder / "created whole", "x"));
    ::umask(before);
    EXPECT_EQ(std::pair(modeOf(folder / "created empty"), modeOf(folder / "created whole")), std::pair(0664u, 0664u));
    WriteFile(folder / "kept", "old");
    ::chmod((folder / "kept").c_str(), 0604);
    ASSERT_TRUE(ReplaceFileContents(folder / "kept", "new"));
    EXPECT_EQ(modeOf(folder / "kept"), 0604u);
    EXPECT_EQ(FileBytes(folder / "kept"), "new");
}

TEST(FileIo, AReplacementThatCannotFinishLeavesTheFileAsItWasAndLeftoversGoAtTheNextStart)
{
    ScratchFolder folder;
    const auto file = folder / "Records";
    WriteFile(file, std::string(4096, 'o'));
    // A full disk or a quota: writes past 1 KiB fail; the old content stays, and no temporary.
    const int replaced = testing::Child([&](const auto&) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1024, 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        return ReplaceFileContents(file, std::string(8192, 'n')) ? 1 : 0;
    }).Wait();
    EXPECT_EQ(replaced, 0);
    EXPECT_EQ(FileBytes(file), std::string(4096, 'o'));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);

    // What a save killed half-way left: only its own temporaries, and only old ones.
    const auto hourAgo = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    for (const char* name : {".Records.123456789", ".plumix.ini.7", ".Records.12a", ".Other.5", "Records.damaged"}) {
        WriteFile(folder / name, "x");
        std::filesystem::last_write_time(folder / name, hourAgo);
    }
    WriteFile(folder / ".Records.42", "another game saving now");
    RemoveLeftTemporaries(folder.Path(), {"Records", "plumix.ini"});
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        left.push_back(entry.path().filename().string());
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{".Other.5", ".Records.12a", ".Records.42", "Records", "Records.damaged"}));
}

} // namespace
} // namespace plumix
