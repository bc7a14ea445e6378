// What the program keeps for its whole run besides the game itself: the
// settings, the texts, the last skin's colours, the two record tables, the levels,
// and the folder its files live in.
#pragma once

#include "levels/levels_file.h"
#include "scores/records.h"
#include "settings/settings.h"
#include "settings/skin.h"
#include "base/texts.h"

#include <filesystem>
#include <string>
#include <vector>

namespace plumix {

struct AppState {
    Settings settings;
    TextTable texts{};
    SkinColors skinColors;
    RecordTables records;
    LevelSet levels{};
    // The name typed in the run's last record entry, offered to the next one.
    std::string lastPlayerName;
    // Where "plumix.ini" and "Records" are read and written; empty when
    // there is no such place (see GameFolders).
    std::filesystem::path folder = ".";
    bool KeepsFiles() const { return !folder.empty(); }
    // Where "Skins/", "Sounds/", "*.lag" and "Data/" are read, the first
    // folder holding a file giving it.
    std::vector<std::filesystem::path> dataFolders{"."};
};

} // namespace plumix
