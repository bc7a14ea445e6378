// What the program keeps for its whole run besides the game itself: the
// settings, the texts, the last skin's colours, the two record tables, the
// levels, the folders its files live in, and the shared record file.
#pragma once

#include "base/game_folders.h"
#include "base/texts.h"
#include "levels/levels_file.h"
#include "scores/records.h"
#include "settings/settings.h"
#include "settings/skin.h"

#include <filesystem>

namespace plumix {

struct AppState {
    Settings settings;
    TextTable texts{};
    SkinColors skinColors;
    RecordTables records;
    LevelSet levels{};
    GameFolders folders{".", {"."}, false};
    // Another installation's record file, which synchronizing merges.
    std::filesystem::path sharedRecords;

    // Whether there is a folder for "plumix.ini" and "Records" at all.
    bool KeepsFiles() const { return !folders.user.empty(); }
};

} // namespace plumix
