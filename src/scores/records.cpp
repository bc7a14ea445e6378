#include "scores/records.h"

#include <algorithm>

namespace plumix {

int FindRecordPlace(const RecordTable& table, std::int64_t score)
{
    for (int place = 1; place <= RecordPlaces; ++place) {
        if (score > table.At(place).score) {
            return place;
        }
    }
    return 0;
}

void MakeRoomAt(RecordTable& table, int place)
{
    if (place < 1 || place > RecordPlaces) {
        return;
    }
    for (int i = RecordPlaces; i > place; --i) {
        table.At(i) = table.At(i - 1);
    }
}

void MergeRecords(RecordTable& table, const RecordTable& incoming, int count)
{
    count = std::clamp(count, 0, RecordPlaces);
    for (int i = 1; i <= count; ++i) {
        const Record& candidate = incoming.At(i);
        // An empty place is no record; by the rule it could still land above
        // a negative score that a file from elsewhere may hold.
        if (candidate == Record{}) {
            continue;
        }
        for (int j = 1; j <= RecordPlaces; ++j) {
            const std::int32_t score = table.At(j).score;
            if (score == candidate.score) {
                break;
            }
            if (score < candidate.score) {
                MakeRoomAt(table, j);
                table.At(j) = candidate;
                break;
            }
        }
    }
}

} // namespace plumix
