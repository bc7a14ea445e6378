#include "settings/game_folders.h"
#include "settings/language.h"
#include "settings/scratch_folder.h"
#include "settings/skin.h"

#include <gtest/gtest.h>

namespace plumix {
namespace {

namespace fs = std::filesystem;
using testing::ScratchFolder;
using testing::WriteFile;

TEST(GameFolders, BesideItsDataTheGameUsesItsWorkingFolderInstalledEachPlayerTheirOwn)
{
    ScratchFolder root;
    // Unpacked with its data beside it: everything in the working folder.
    fs::create_directories(root / "game/Skins");
    fs::create_directories(root / "share/plumix");
    const GameFolders portable = LocateGameFolders(root / "game", "/x", "/home/p");
    EXPECT_FALSE(portable.installed);
    EXPECT_EQ(portable.user, ".");
    EXPECT_EQ(portable.data, std::vector<fs::path>{"."});
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
}

TEST(GameFolders, ThePlayersFilesComeFirstAndEachNameIsOfferedOnce)
{
    ScratchFolder user;
    ScratchFolder installed;
    const std::vector<fs::path> folders{user.Path(), installed.Path()};
    WriteFile(installed / "Data/plumix2.bin", "x");
    WriteFile(installed / "Skins/Standart.psk", "Standard\n1.4\n");
    WriteFile(installed / "Skins/Neon.psk", "Neon\n1.4\n");
    WriteFile(user / "Skins/Neon.psk", "My neon\n1.4\n");
    WriteFile(user / "Skins/Mine.psk", "Mine\n1.4\n");
    WriteFile(installed / "Deutsch.lag", "Deutsch\n1.4\n");
    WriteFile(user / "Klingon.lag", "tlhIngan\n1.4\n");

    EXPECT_EQ((std::vector{FolderHolding(folders, "Data/plumix2.bin"), FolderHolding(folders, "Skins/Neon.psk"),
                           FolderHolding(folders, "Skins/Gone.psk")}),
              (std::vector{installed.Path(), user.Path(), user.Path()}));
    const auto names = [](const std::vector<OfferedFile>& offered) {
        std::vector<std::string> names;
        for (const OfferedFile& f : offered) {
            names.push_back(f.displayName + "=" + f.fileName);
        }
        return names;
    };
    EXPECT_EQ(names(ListSkinsIn(folders)), (std::vector<std::string>{"Mine=Mine.psk", "My neon=Neon.psk", "Standard=Standart.psk"}));
    EXPECT_EQ(names(ListLanguages(folders)),
              (std::vector<std::string>{"English=inside", "Deutsch=Deutsch.lag", "tlhIngan=Klingon.lag"}));

    // Never more than the list's 101 positions, however many files there are.
    for (int i = 0; i < 60; ++i) {
        WriteFile(user / ("Skins/u" + std::to_string(i) + ".psk"), "U\n1.4\n");
        WriteFile(installed / ("Skins/i" + std::to_string(i) + ".psk"), "I\n1.4\n");
    }
    EXPECT_EQ(ListSkinsIn(folders).size(), MaxSkinChoices);
}

} // namespace
} // namespace plumix
