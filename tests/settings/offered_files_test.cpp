// The skins and languages offered in the settings window, from the player's
// folder and the installed data.
#include "base/game_folders.h"
#include "settings/language.h"
#include "settings/skin.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

namespace plumix {
namespace {

using testing::ScratchFolder;
using testing::WriteFile;

TEST(OfferedFiles, ThePlayersFilesComeFirstAndEachNameIsOfferedOnce)
{
    ScratchFolder user, installed;
    const std::vector<std::filesystem::path> folders{user.Path(), installed.Path()};
    WriteFile(installed / "Data/plumix2.bin", "x");
    WriteFile(installed / "Skins/Standart.psk", "Standard\n1.4\n");
    WriteFile(installed / "Skins/Neon.psk", "Neon\n1.4\n");
    WriteFile(user / "Skins/Neon.psk", "My neon\n1.4\n");
    WriteFile(user / "Skins/Mine.psk", "Mine\n1.4\n");
    WriteFile(installed / "Deutsch.lag", "Deutsch\n1.4\n");
    WriteFile(user / "Klingon.lag", "tlhIngan\n1.4\n");
    // Only version 1.4 files are offered, after English, by their first line in either encoding.
    WriteFile(user / "a.lag", "Альфа\r\n1.4\r\n100,x\r\n");
    WriteFile(user / "b.lag", "Bravo\r\n1.4 \r\n");
    WriteFile(user / "c.LAG", "\xD1\xE8\xED\xE8\xE9\n1.4");  // Windows-1251 name, LF only
    WriteFile(user / "d.lag", "Only a name");
    WriteFile(user / "e.txt", "E\r\n1.4\r\n");

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
              (std::vector<std::string>{"English=inside", "Deutsch=Deutsch.lag", "tlhIngan=Klingon.lag", "Альфа=a.lag",
                                        "Синий=c.LAG"}));

    // Never more than the list's 101 positions, however many files there are.
    for (int i = 0; i < 60; ++i) {
        WriteFile(user / ("Skins/u" + std::to_string(i) + ".psk"), "U\n1.4\n");
        WriteFile(installed / ("Skins/i" + std::to_string(i) + ".psk"), "I\n1.4\n");
    }
    EXPECT_EQ(ListSkinsIn(folders).size(), MaxSkinChoices);
}

} // namespace
} // namespace plumix
