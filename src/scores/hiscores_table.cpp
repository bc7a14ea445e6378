#include "scores/hiscores_table.h"

#include "scores/name_color.h"

#include <algorithm>

namespace plumix {

HiScoresTable TableForEndedMode(int endedMode)
{
    return endedMode == 2 ? HiScoresTable::Level : HiScoresTable::Classic;
}

int ClampTopPlace(int topPlace)
{
    return std::clamp(topPlace, FirstTopPlace, LastTopPlace);
}

HiScoresRow HiScoresRowAt(const RecordTables& tables, HiScoresTable table, int topPlace, int row)
{
    HiScoresRow out;
    out.place = ClampTopPlace(topPlace) + std::clamp(row, 0, HiScoresRows - 1);
    const Record& entry = tables.ForMode(ModeOfTable(table)).At(out.place);
    out.color = NameColor(entry.player);
    auto set = [&out](HiScoresColumn column, std::string text) {
        out.texts[static_cast<std::size_t>(column)] = std::move(text);
    };
    set(HiScoresColumn::Number, " " + std::to_string(out.place));
    set(HiScoresColumn::Player, entry.player);
    set(HiScoresColumn::Score, std::to_string(entry.score));
    if (table == HiScoresTable::Classic) {
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
    out.title = TextOf(texts, 220);
    out.headers = {TextOf(texts, 201), TextOf(texts, 202), TextOf(texts, 121), "1", "2", "3", "4",
                   TextOf(texts, 126), TextOf(texts, 203), TextOf(texts, 204)};
    out.classicOption = TextOf(texts, 210);
    out.levelOption = TextOf(texts, 211);
    out.syncCaption = TextOf(texts, 205);
    // The shared file lies in the home folder.
    out.syncTooltip = TextOf(texts, 206) + " ~/";
    out.closeCaption = TextOf(texts, 207);
    out.closeTooltip = TextOf(texts, 208);
    out.syncPassed = TextOf(texts, 230);
    out.syncFailed = TextOf(texts, 231);
    return out;
}

} // namespace plumix
