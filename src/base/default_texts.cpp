#include "base/texts.h"

#include <string_view>
#include <utility>

namespace plumix {

namespace {

// The English texts the game falls back to for every number a language file
// leaves out or leaves empty.
constexpr std::pair<int, std::string_view> EnglishTexts[] = {
    {100, "New game Plumix"},
    {101, "New game Plumix 2"},
    {102, "PAUSE"},
    {103, "Hi-scores"},
    {104, "Setting"},
    {105, "Help"},
    {106, "Pause"},
    {107, "Resume"},
    {110, "Begin new game of Classic Plumix"},
    {111, "Begin new game of Plumix 2"},
    {112, "Pause/resume game"},
    {113, "Show hi-scores table"},
    {114, "Game settings"},
    {115, "About game and creators"},
    {116, "Minimize window"},
    {117, "Quit"},
    {120, "Next"},
    {121, "Score"},
    {122, "1 line"},
    {123, "2 lines"},
    {124, "3 lines"},
    {125, "4 lines"},
    {126, "Level"},
    {127, "Space"},
    {130, "Start new game"},
    {131, "Are you sure?"},
    {132, "Quit"},
    {201, "Number"},
    {202, "Player"},
    {203, "Data"},
    {204, "Comments about game"},
    {205, "Synchronizing"},
    {206, "For this second table place in"},
    {207, "Close"},
    {208, "Close this window"},
    {210, "Classic PLUMIX"},
    {211, "PLUMIX 2"},
    {220, "Hi-scores table"},
    {230, "Synchronizing passed successfully"},
    {231, "Has error when synchronizing"},
    {300, "New record!"},
    {301, "Congratulations! You are"},
    {302, "th. Enter your name"},
    {303, "Your comment about game"},
    {401, "Version"},
    {501, "Load skin"},
    {502, "Load hi-scores table"},
    {503, "Load levels of Plumix 2"},
    {600, "Lives"},
    {601, "Task"},
    {602, "Destroy all bricks"},
    {603, "Fulfill your quota"},
    {604, "Survive"},
    {605, "seconds"},
    {606, "Bonus round"},
    {607, "Press any key to start"},
    {701, "Language"},
    {702, "Extorior"},
    {703, "Audio"},
    {704, "General Settings"},
    {710, "Skin"},
    {711, "Colors"},
    {712, "Colors from skin"},
    {713, "Text"},
    {714, "Back"},
    {715, "SFX"},
    {716, "Music"},
    {717, "Rotate clockwise"},
    {718, "Rotate counterclockwise"},
    {719, "Move during fall"},
    {720, "Show grid"},
    {721, "Show next figure"},
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
