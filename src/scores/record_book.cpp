#include "scores/record_book.h"

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
    return TextOf(texts, TextCongratulations) + " " + std::to_string(place) + TextOf(texts, TextPlaceSuffix) + ":";
}

std::string RecordCommentPrompt(const TextTable& texts)
{
    return TextOf(texts, TextCommentPrompt) + ":";
}

std::string SingleLine(std::string_view text)
{
    std::string line(text);
    std::replace(line.begin(), line.end(), '\r', ' ');
    std::replace(line.begin(), line.end(), '\n', ' ');
    return line;
}

Record EnteredRecord(const GameResult& ended, const TypedEntry& typed)
{
    Record record;
    // What the file will hold, so the table shows now what it shows after a restart.
    record.player = StoredForm(SingleLine(typed.name));
    record.score = Clamped<std::int32_t>(ended.score);
    record.date = SingleLine(typed.date);
    record.comment = StoredForm(SingleLine(typed.comment));
    record.level = Clamped<std::uint8_t>(ended.level);
    if (ended.mode == GameMode::Classic) {
        record.lines1 = ended.lines[0];
        record.lines2 = ended.lines[1];
        record.lines3 = ended.lines[2];
        record.lines4 = ended.lines[3];
    }
    return record;
}

int RecordBook::Enter(const GameResult& ended)
{
    ended_ = ended;
    place_ = 0;
    if (ended.mode == GameMode::None) {
        return 0;
    }
    RecordTable& table = tables_.ForMode(ended.mode);
    place_ = FindRecordPlace(table, ended.score);
    MakeRoomAt(table, place_);
    return place_;
}

void RecordBook::Fill(const TypedEntry& typed)
{
    if (place_ >= 1 && place_ <= RecordPlaces) {
        tables_.ForMode(ended_.mode).At(place_) = EnteredRecord(ended_, typed);
    }
    place_ = 0;
    lastPlayerName_ = StoredForm(SingleLine(typed.name));
}

} // namespace plumix
