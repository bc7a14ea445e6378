// The table of user-interface texts, addressed by number: 100s main window,
// 200s hi-scores, 300s record entry, 400s About box, 500s splash, 600s level
// mode, 700s settings dialog. An empty slot has no text.
#pragma once

#include <array>
#include <string>

namespace plumix {

inline constexpr int TextCount = 1000;
using TextTable = std::array<std::string, TextCount>;

// Gives every built-in text number whose slot is empty its English text;
// filled slots are left alone, so a language file's texts win.
void FillDefaultTexts(TextTable& texts);

// The numbers of the texts the rules and the main window ask for by name.
inline constexpr int TextPauseStatus = 102;      // "PAUSE"
inline constexpr int TextPauseButton = 106;      // "Pause"
inline constexpr int TextResumeButton = 107;     // "Resume"
inline constexpr int TextLevelCaption = 126;     // "Level"
inline constexpr int TextNewGameTitle = 130;     // "Start new game"
inline constexpr int TextAreYouSure = 131;
inline constexpr int TextQuitTitle = 132;
inline constexpr int TextLoadSkin = 501;
inline constexpr int TextLoadRecords = 502;
inline constexpr int TextLoadLevels = 503;
inline constexpr int TextLives = 600;
inline constexpr int TextTasks = 601;
inline constexpr int TextDestroyBricks = 602;
inline constexpr int TextFulfillQuota = 603;
inline constexpr int TextSurvive = 604;
inline constexpr int TextSeconds = 605;
inline constexpr int TextBonusRound = 606;
inline constexpr int TextPressAnyKey = 607;

// The text of `number`, or "" for a number outside 0..999.
const std::string& TextOf(const TextTable& texts, int number);

} // namespace plumix
