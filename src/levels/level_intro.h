// What the level intro window says: the level number, the lives and the
// level's tasks, in the current language.
#pragma once

#include "levels/levels_file.h"
#include "base/texts.h"

#include <string>

namespace plumix {

struct LevelIntroTexts {
    std::string title;   // "Level: 0"
    std::string body;    // lives, the task heading and one line per task, joined by '\n'
    std::string prompt;  // "Press any key to start"
};

LevelIntroTexts ComposeLevelIntro(const TextTable& texts, int level, int lives, const LevelDef& def);

} // namespace plumix
