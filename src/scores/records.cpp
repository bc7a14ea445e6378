#include "scores/records.h"

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

} // namespace plumix
