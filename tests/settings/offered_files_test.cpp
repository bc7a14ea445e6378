// The skins and languages offered in the settings window, from the player's
// folder and the installed data.
#include "base/game_folders.h"
#include "settings/language.h"
#include "settings/skin.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

namespace plumix {
namespace {

namespace fs = std::filesystem;
using testing::ScratchFolder;
using testing::WriteFile;

} // namespace
} // namespace plumix
