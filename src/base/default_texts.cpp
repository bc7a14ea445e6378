#include "base/texts.h"

#include <string_view>
#include <utility>

namespace plumix {

namespace {

// The English texts the game falls back to for every number a language file
// leaves out or leaves empty. They are the only English: the translators'
// notes (tools/language_notes.md) and the shipped language files are checked
// against them.
constexpr std::pair<int, std::string_view> EnglishTexts[] = {
    {TextNewClassicButton, "New game Plumix"},
    {TextNewLevelsButton, "New game Plumix 2"},
    {TextPauseStatus, "PAUSE"},
    {TextHiScoresButton, "Hi-scores"},
    {TextSettingsButton, "Setting"},
    {TextAboutButton, "Help"},
    {TextPauseButton, "Pause"},
    {TextResumeButton, "Resume"},
    {TextNewClassicTip, "Begin new game of Classic Plumix"},
    {TextNewLevelsTip, "Begin new game of Plumix 2"},
    {TextPauseTip, "Pause/resume game"},
    {TextHiScoresTip, "Show hi-scores table"},
    {TextSettingsTip, "Game settings"},
    {TextAboutTip, "About game and creators"},
    {TextMinimizeTip, "Minimize window"},
    {TextQuitTip, "Quit"},
    {TextNextCaption, "Next"},
    {TextScoreCaption, "Score"},
    {TextOneLineCaption, "1 line"},
    {TextTwoLinesCaption, "2 lines"},
    {TextThreeLinesCaption, "3 lines"},
    {TextFourLinesCaption, "4 lines"},
    {TextLevelCaption, "Level"},
    {TextSpaceKey, "Space"},
    {TextNewGameTitle, "Start new game"},
    {TextAreYouSure, "Are you sure?"},
    {TextQuitTitle, "Quit"},
    {TextNumberHeader, "Number"},
    {TextPlayerHeader, "Player"},
    {TextDateHeader, "Data"},
    {TextCommentHeader, "Comments about game"},
    {TextSyncButton, "Synchronizing"},
    {TextSyncTip, "For this second table place in"},
    {TextCloseButton, "Close"},
    {TextCloseTip, "Close this window"},
    {TextClassicTable, "Classic PLUMIX"},
    {TextLevelTable, "PLUMIX 2"},
    {TextHiScoresTitle, "Hi-scores table"},
    {TextSyncPassed, "Synchronizing passed successfully"},
    {TextSyncFailed, "Has error when synchronizing"},
    {TextNewRecordTitle, "New record!"},
    {TextCongratulations, "Congratulations! You are"},
    {TextPlaceSuffix, "th. Enter your name"},
    {TextCommentPrompt, "Your comment about game"},
    {TextVersion, "Version"},
    {TextLoadSkin, "Load skin"},
    {TextLoadRecords, "Load hi-scores table"},
    {TextLoadLevels, "Load levels of Plumix 2"},
    {TextLives, "Lives"},
    {TextTasks, "Task"},
    {TextDestroyBricks, "Destroy all bricks"},
    {TextFulfillQuota, "Fulfill your quota"},
    {TextSurvive, "Survive"},
    {TextSeconds, "seconds"},
    {TextBonusRound, "Bonus round"},
    {TextPressAnyKey, "Press any key to start"},
    {TextLanguageFrame, "Language"},
    {TextLookFrame, "Extorior"},
    {TextAudioFrame, "Audio"},
    {TextGeneralFrame, "General Settings"},
    {TextSkin, "Skin"},
    {TextColors, "Colors"},
    {TextColorsFromSkin, "Colors from skin"},
    {TextTextColor, "Text"},
    {TextBackColor, "Back"},
    {TextSfx, "SFX"},
    {TextMusic, "Music"},
    {TextClockwise, "Rotate clockwise"},
    {TextCounterclockwise, "Rotate counterclockwise"},
    {TextMoveDuringFall, "Move during fall"},
    {TextShowGrid, "Show grid"},
    {TextShowNext, "Show next figure"},
};

} // namespace

void FillDefaultTexts(TextTable& texts)
{
    for (const auto& [number, text] : EnglishTexts) {
        auto& slot = texts[static_cast<std::size_t>(number)];
        if (slot.empty()) {
            slot = text;
        }
    }
}

const std::string& TextOf(const TextTable& texts, int number)
{
    static const std::string none;
    if (number < 0 || number >= TextCount) {
        return none;
    }
    return texts[static_cast<std::size_t>(number)];
}

} // namespace plumix
