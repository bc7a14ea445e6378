// The table of user-interface texts, addressed by number: 100s main window,
// 200s hi-scores, 300s record entry, 400s About box, 500s splash, 600s level
// mode, 700s settings window. A language file fills it by these numbers;
// what it leaves out comes from the built-in English table. An empty slot
// has no text.
#pragma once

#include <array>
#include <string>

namespace plumix {

inline constexpr int TextCount = 1000;
using TextTable = std::array<std::string, TextCount>;

// Gives every built-in text number whose slot is empty its English text;
// filled slots are left alone, so a language file's texts win.
void FillDefaultTexts(TextTable& texts);

// The text of `number`, or "" for a number outside 0..999.
const std::string& TextOf(const TextTable& texts, int number);

// Every number the game asks for.
// The main window: menu buttons, their tooltips, the labels, questions.
inline constexpr int TextNewClassicButton = 100;
inline constexpr int TextNewLevelsButton = 101;
inline constexpr int TextPauseStatus = 102;  // over the board while paused
inline constexpr int TextHiScoresButton = 103;
inline constexpr int TextSettingsButton = 104;
inline constexpr int TextAboutButton = 105;
inline constexpr int TextPauseButton = 106;
inline constexpr int TextResumeButton = 107;
inline constexpr int TextNewClassicTip = 110;
inline constexpr int TextNewLevelsTip = 111;
inline constexpr int TextPauseTip = 112;
inline constexpr int TextHiScoresTip = 113;
inline constexpr int TextSettingsTip = 114;  // also the settings window's title
inline constexpr int TextAboutTip = 115;     // also the About box's title
inline constexpr int TextMinimizeTip = 116;
inline constexpr int TextQuitTip = 117;
inline constexpr int TextNextCaption = 120;
inline constexpr int TextScoreCaption = 121;
inline constexpr int TextOneLineCaption = 122;  // to 125: 1, 2, 3 and 4 lines
inline constexpr int TextTwoLinesCaption = 123;
inline constexpr int TextThreeLinesCaption = 124;
inline constexpr int TextFourLinesCaption = 125;
inline constexpr int TextLevelCaption = 126;
inline constexpr int TextSpaceKey = 127;
inline constexpr int TextNewGameTitle = 130;
inline constexpr int TextAreYouSure = 131;
inline constexpr int TextQuitTitle = 132;
// The hi-scores window.
inline constexpr int TextNumberHeader = 201;
inline constexpr int TextPlayerHeader = 202;
inline constexpr int TextDateHeader = 203;
inline constexpr int TextCommentHeader = 204;
inline constexpr int TextSyncButton = 205;
inline constexpr int TextSyncTip = 206;
inline constexpr int TextCloseButton = 207;
inline constexpr int TextCloseTip = 208;
inline constexpr int TextClassicTable = 210;
inline constexpr int TextLevelTable = 211;
inline constexpr int TextHiScoresTitle = 220;
inline constexpr int TextSyncPassed = 230;
inline constexpr int TextSyncFailed = 231;
// The record entry.
inline constexpr int TextNewRecordTitle = 300;
inline constexpr int TextCongratulations = 301;
inline constexpr int TextPlaceSuffix = 302;
inline constexpr int TextCommentPrompt = 303;
// The About box and the splash.
inline constexpr int TextVersion = 401;
inline constexpr int TextLoadSkin = 501;
inline constexpr int TextLoadRecords = 502;
inline constexpr int TextLoadLevels = 503;
// The level window.
inline constexpr int TextLives = 600;
inline constexpr int TextTasks = 601;
inline constexpr int TextDestroyBricks = 602;
inline constexpr int TextFulfillQuota = 603;
inline constexpr int TextSurvive = 604;
inline constexpr int TextSeconds = 605;
inline constexpr int TextBonusRound = 606;
inline constexpr int TextPressAnyKey = 607;
// The settings window.
inline constexpr int TextLanguageFrame = 701;  // to 704: the four frames
inline constexpr int TextLookFrame = 702;
inline constexpr int TextAudioFrame = 703;
inline constexpr int TextGeneralFrame = 704;
inline constexpr int TextSkin = 710;
inline constexpr int TextColors = 711;
inline constexpr int TextColorsFromSkin = 712;
inline constexpr int TextTextColor = 713;
inline constexpr int TextBackColor = 714;
inline constexpr int TextSfx = 715;
inline constexpr int TextMusic = 716;
inline constexpr int TextClockwise = 717;
inline constexpr int TextCounterclockwise = 718;
inline constexpr int TextMoveDuringFall = 719;
inline constexpr int TextShowGrid = 720;
inline constexpr int TextShowNext = 721;

} // namespace plumix
