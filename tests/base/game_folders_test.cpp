#include "base/game_folders.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

namespace plumix {
namespace {

namespace fs = std::filesystem;
using testing::ScratchFolder;
using testing::WriteFile;

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

} // namespace
} // namespace plumix
