#include "session/window_texts.h"

namespace plumix {

MainWindowTexts ComposeMainWindowTexts(const TextTable& texts)
{
    const auto text = [&](int number) { return TextOf(texts, number); };
    MainWindowTexts out;
    out.buttonCaptions = {text(TextNewClassicButton), text(TextNewLevelsButton), text(TextPauseButton),
                          text(TextHiScoresButton),   text(TextSettingsButton),  text(TextAboutButton)};
    out.buttonTooltips = {
        text(TextNewClassicTip) + " (F2)",
        text(TextNewLevelsTip) + " (F3)",
        text(TextPauseTip) + " (" + text(TextSpaceKey) + ")",
        text(TextHiScoresTip) + "... (F5)",
        text(TextSettingsTip) + "... (F8)",
        text(TextAboutTip) + "...",
    };
    out.closeTooltip = text(TextQuitTip) + " (Esc)";
    out.minimizeTooltip = text(TextMinimizeTip);
    out.labels = {text(TextScoreCaption),      text(TextLevelCaption),      text(TextOneLineCaption),
                  text(TextTwoLinesCaption),   text(TextThreeLinesCaption), text(TextFourLinesCaption),
                  text(TextNextCaption)};
    return out;
}

const std::string& PauseButtonCaption(const TextTable& texts, bool paused)
{
    return TextOf(texts, paused ? TextResumeButton : TextPauseButton);
}

const std::string& StatusCaption(const TextTable& texts, const GameState& state)
{
    static const std::string none;
    return state.paused && !state.introShowing ? TextOf(texts, TextPauseStatus) : none;
}

} // namespace plumix
