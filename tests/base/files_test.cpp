// The Windows-1251 codec, where the game keeps its files, and files written
// whole with the modes a player expects.
#include "base/file_io.h"
#include "base/game_folders.h"
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

namespace fs = std::filesystem;
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

TEST(GameFolders, BesideItsDataTheGameUsesItsOwnFolderInstalledEachPlayerTheirOwnInTheirConfigFolder)
{
    ScratchFolder root;
    // Unpacked with its data beside it: everything in its folder, never in
    // the working folder it was started from.
    fs::create_directories(root / "game/Skins");
    fs::create_directories(root / "share/plumix");
    const GameFolders portable = LocateGameFolders(root / "game", "/x", "/home/p");
    EXPECT_FALSE(portable.installed);
    EXPECT_EQ(portable.user, root / "game");
    EXPECT_EQ(portable.data, std::vector<fs::path>{root / "game"});
    // A program with neither is treated the same way.
    EXPECT_FALSE(LocateGameFolders(root / "a/b", nullptr, nullptr).installed);

    fs::create_directories(root / "bin");
    const GameFolders xdg = LocateGameFolders(root / "bin", (root / "xdg").c_str(), (root / "home").c_str());
    EXPECT_TRUE(xdg.installed && fs::is_directory(xdg.user));
    EXPECT_EQ(xdg.data, (std::vector<fs::path>{root / "xdg/plumix", root / "share/plumix"}));
    EXPECT_EQ(xdg.user, xdg.data[0]);
    // Unset, empty or relative: the default below the home folder.
    for (const char* unusable : {static_cast<const char*>(nullptr), "", "relative/data"}) {
        EXPECT_EQ(LocateGameFolders(root / "bin", unusable, (root / "home").c_str()).user,
                  root / "home/.local/share/plumix");
    }
    // No home folder at all: no folder of the player's, never one relative
    // to wherever the game was started.
    const GameFolders homeless = LocateGameFolders(root / "bin", "relative", nullptr, "relative");
    EXPECT_EQ(homeless.user, fs::path());
    EXPECT_EQ(homeless.data, std::vector<fs::path>{root / "share/plumix"});

    // Installed into the player's own data folder: their files go to the config folder.
    const ScratchFolder home;
    fs::create_directories(home / ".local/games");
    fs::create_directories(home / ".local/share/plumix/Skins");
    const fs::path program = home / ".local/games";
    const GameFolders byHome = LocateGameFolders(program, nullptr, home.Path().c_str());
    EXPECT_EQ(byHome.user, home / ".config/plumix");
    EXPECT_EQ(byHome.data, (std::vector<fs::path>{home / ".config/plumix", home / ".local/share/plumix"}));
    EXPECT_TRUE(fs::is_directory(byHome.user));
    // The same folder reached by other names, and the config folder set.
    fs::create_symlink(home / ".local/share", home / "data");
    const GameFolders byXdg =
        LocateGameFolders(program, (home / "data").c_str(), home.Path().c_str(), (home / "cfg").c_str());
    EXPECT_EQ(byXdg.user, home / "cfg/plumix");

    // The home folder is the variable when absolute, else the user databases'.
    EXPECT_EQ(HomeFolder("/home/p"), "/home/p");
    const fs::path own = HomeFolder(nullptr);
    EXPECT_TRUE(own.is_absolute()) << own;
    EXPECT_EQ(HomeFolder("relative"), own);
}

TEST(FileIo, NewFilesFollowTheUmaskAndRewrittenOnesKeepTheirMode)
{
    ScratchFolder folder;
    const auto modeOf = [](const fs::path& path) {
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
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), {}), 1);

    // What a save killed half-way left: only its own temporaries, and only old ones.
    const auto hourAgo = fs::file_time_type::clock::now() - std::chrono::hours(1);
    for (const char* name : {".Records.123456789", ".plumix.ini.7", ".Records.12a", ".Other.5", "Records.damaged"}) {
        WriteFile(folder / name, "x");
        fs::last_write_time(folder / name, hourAgo);
    }
    WriteFile(folder / ".Records.42", "another game saving now");
    RemoveLeftTemporaries(folder.Path(), {"Records", "plumix.ini"});
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(folder.Path())) {
        left.push_back(entry.path().filename().string());
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{".Other.5", ".Records.12a", ".Records.42", "Records", "Records.damaged"}));
}

} // namespace
} // namespace plumix
