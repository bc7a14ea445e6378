// The shared ~/Records of synchronizing, merged into a fixed table: the input
// is the unscrambled text of the shared file. The merged tables stay sorted,
// the file written back reads back equal to the tables kept, and merging it
// again changes nothing.
#include "harness.h"
#include "scores/records_file.h"

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
    MergeRecordFile(file, tables);
    fuzz::Require(Sorted(tables.classic) && Sorted(tables.level), "the merged tables stay sorted");
    const std::string written = RecordsToFileBytes(tables);
    const RecordsReading back = ReadRecordFile(written);
    fuzz::Require(back.Whole() && back.tables.classic == tables.classic && back.tables.level == tables.level,
                  "the shared file written back reads back equal to the tables kept");
    RecordTables again = tables;
    MergeRecordFile(written, again);
    fuzz::Require(again.classic == tables.classic && again.level == tables.level,
                  "merging the written file again changes nothing");
    return 0;
}
