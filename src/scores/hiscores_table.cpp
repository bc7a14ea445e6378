#include "scores/hiscores_table.h"

#include "scores/name_color.h"

#include <algorithm>

namespace plumix {

GameMode TableForEndedMode(GameMode endedMode)
{
    return endedMode == GameMode::Levels ? GameMode::Levels : GameMode::Classic;
}

int ClampTopPlace(int topPlace)
{
    return std::clamp(topPlace, FirstTopPlace, LastTopPlace);
}

HiScoresRow HiScoresRowAt(const RecordTables& tables, GameMode table, int topPlace, int row)
{
    HiScoresRow out;
    out.place = ClampTopPlace(topPlace) + std::clamp(row, 0, HiScoresRows - 1);
    const Record& entry = tables.ForMode(table).At(out.place);
    out.color = NameColor(entry.player);
    auto set = [&out](HiScoresColumn column, std::string text) {
        out.texts[static_cast<std::size_t>(column)] = std::move(text);
    };
    set(HiScoresColumn::Number, " " + std::to_string(out.place));
    set(HiScoresColumn::Player, entry.player);
    set(HiScoresColumn::Score, std::to_string(entry.score));
    if (table != GameMode::Levels) {
        set(HiScoresColumn::Lines1, std::to_string(entry.lines1));
        set(HiScoresColumn::Lines2, std::to_string(entry.lines2));
        set(HiScoresColumn::Lines3, std::to_string(entry.lines3));
        set(HiScoresColumn::Lines4, std::to_string(entry.lines4));
    }
    set(HiScoresColumn::Level, std::to_string(entry.level));
    set(HiScoresColumn::Date, entry.date);
    set(HiScoresColumn::Comment, entry.comment);
    return out;
}

HiScoresTexts ComposeHiScoresTexts(const TextTable& texts)
{
    HiScoresTexts out;
    out.title = TextOf(texts, TextHiScoresTitle);
    out.headers = {TextOf(texts, TextNumberHeader), TextOf(texts, TextPlayerHeader), TextOf(texts, TextScoreCaption), "1", "2", "3", "4",
                   TextOf(texts, TextLevelCaption), TextOf(texts, TextDateHeader), TextOf(texts, TextCommentHeader)};
    out.classicOption = TextOf(texts, TextClassicTable);
    out.levelOption = TextOf(texts, TextLevelTable);
    out.syncCaption = TextOf(texts, TextSyncButton);
    // The shared file lies in the home folder.
    out.syncTooltip = TextOf(texts, TextSyncTip) + " ~/";
    out.closeCaption = TextOf(texts, TextCloseButton);
    out.closeTooltip = TextOf(texts, TextCloseTip);
    out.syncPassed = TextOf(texts, TextSyncPassed);
    out.syncFailed = TextOf(texts, TextSyncFailed);
    return out;
}

} // namespace plumix
