// The shared ~/Records of synchronizing, merged into a fixed table: the input
// is the unscrambled text of the shared file. A refused file changes nothing;
// a merged one keeps the tables sorted, and the file written back reads back
// equal to the tables kept.
#include "harness.h"
#include "scores/records_file.h"
#include "scores/synchronize.h"

#include <string>

using namespace plumix;

namespace {

// Tables as a run holds them after a load: texts in their stored form.
RecordTables Local()
{
    RecordTables tables;
    for (int place = 1; place <= 60; ++place) {
        const int score = 100'000 - 1'500 * place;
        tables.classic.At(place) = {"Иван " + std::to_string(place), score, place, 2, 3, 4, "01.02.2024", "ok, да", 7};
        tables.level.At(place) = {"Lena", score / 3, 0, 0, 0, 0, "3/4/25", "", static_cast<std::uint8_t>(place)};
    }
    return tables;
}

bool Sorted(const RecordTable& table)
{
    for (int place = 2; place <= RecordPlaces; ++place) {
        if (table.At(place).score > table.At(place - 1).score) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const RecordTables local = Local();
    std::string file(fuzz::Bytes(data, size));
    ScrambleRecordBytes(file);
    RecordTables tables = local;
    const auto written = MergeSharedFile(file, tables);
    if (!written) {
        fuzz::Require(tables.classic == local.classic && tables.level == local.level, "a refused file changes nothing");
        return 0;
    }
    fuzz::Require(Sorted(tables.classic) && Sorted(tables.level), "the merged tables stay sorted");
    const RecordTables back = RecordsFromFileBytes(*written);
    fuzz::Require(back.classic == tables.classic && back.level == tables.level,
                  "the shared file written back reads back equal to the tables kept");
    RecordTables again = tables;
    fuzz::Require(MergeSharedFile(*written, again) == written, "merging the written file again changes nothing");
    return 0;
}
