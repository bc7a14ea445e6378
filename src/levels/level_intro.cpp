#include "levels/level_intro.h"

namespace plumix {

namespace {

constexpr const char* TaskIndent = "     ";

} // namespace

LevelIntroTexts ComposeLevelIntro(const TextTable& texts, int level, int lives, const LevelDef& def)
{
    LevelIntroTexts out;
    out.title = TextOf(texts, TextLevelCaption) + ": " + std::to_string(level);
    out.body = TextOf(texts, TextLives) + ": " + std::to_string(lives) + '\n' + TextOf(texts, TextTasks) + ":";
    if (def.HasBricks()) {
        out.body += '\n' + std::string(TaskIndent) + TextOf(texts, TextDestroyBricks);
    }
    if (def.HasQuota()) {
        out.body += '\n' + std::string(TaskIndent) + TextOf(texts, TextFulfillQuota);
    }
    if (def.HasTime()) {
        out.body += '\n' + std::string(TaskIndent) + TextOf(texts, TextSurvive) + " " + std::to_string(def.seconds) +
                    " " + TextOf(texts, TextSeconds);
    }
    if (def.IsBonusRound()) {
        out.body += '\n' + TextOf(texts, TextBonusRound);
    }
    out.prompt = TextOf(texts, TextPressAnyKey);
    return out;
}

} // namespace plumix
