// What the program keeps for its whole run besides the game itself: the
// settings, the texts and the two record tables.
#pragma once

#include "scores/records.h"
#include "settings/settings.h"
#include "settings/texts.h"

namespace plumix {

struct AppState {
    Settings settings;
    TextTable texts{};
    RecordTables records;
};

} // namespace plumix
