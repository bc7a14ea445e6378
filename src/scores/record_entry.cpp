#include "scores/record_entry.h"

#include "scores/records_file.h"

#include <algorithm>
#include <limits>

namespace plumix {

namespace {

template <typename T>
T Clamped(std::int64_t value)
{
    return static_cast<T>(std::clamp<std::int64_t>(value, std::numeric_limits<T>::min(),
                                                    std::numeric_limits<T>::max()));
}

} // namespace

std::string RecordEntryPrompt(const TextTable& texts, int place)
{
    return TextOf(texts, 301) + " " + std::to_string(place) + TextOf(texts, 302) + ":";
}

std::string RecordCommentPrompt(const TextTable& texts)
{
    return TextOf(texts, 303) + ":";
}

std::string SingleLine(std::string_view text)
{
    std::string line(text);
    std::replace(line.begin(), line.end(), '\r', ' ');
    std::replace(line.begin(), line.end(), '\n', ' ');
    return line;
}

Record EnteredRecord(int endedMode, const GameState& ended, const TypedEntry& typed)
{
    Record record;
    // What the file will hold, so the table shows now what it shows after a restart.
    record.player = StoredForm(SingleLine(typed.name));
    record.score = Clamped<std::int32_t>(ended.score);
    record.date = SingleLine(typed.date);
    record.comment = StoredForm(SingleLine(typed.comment));
    record.level = Clamped<std::uint8_t>(ended.level.value_or(0));
    if (endedMode == GameModeClassic) {
        record.lines1 = ended.lines[0];
        record.lines2 = ended.lines[1];
        record.lines3 = ended.lines[2];
        record.lines4 = ended.lines[3];
    }
    return record;
}

void FinishRecordEntry(RecordTables& tables, std::string& lastPlayerName, int endedMode, int place,
                       const GameState& ended, const TypedEntry& typed)
{
    const bool known = endedMode == GameModeClassic || endedMode == GameModeLevels;
    if (known && place >= 1 && place <= RecordPlaces) {
        tables.ForMode(endedMode).At(place) = EnteredRecord(endedMode, ended, typed);
    }
    lastPlayerName = StoredForm(SingleLine(typed.name));
}

} // namespace plumix
