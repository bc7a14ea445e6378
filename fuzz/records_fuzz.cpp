// Records: the input is the unscrambled text, as the game reads it once the
// rolling XOR is undone (no barrier worth making the fuzzer learn). What
// loads, saved, loads back the same: a run that loads and saves loses nothing
// of what it showed.
#include "harness.h"
#include "scores/records_file.h"
#include "base/text_codec.h"

using namespace plumix;

namespace {

void RequireStorable(const RecordTable& table)
{
    for (int place = 1; place <= RecordPlaces; ++place) {
        const Record& r = table.At(place);
        for (const std::string* text : {&r.player, &r.date, &r.comment}) {
            fuzz::Require(IsValidUtf8(*text), "a loaded text is valid UTF-8");
            fuzz::Require(text->find_first_of("\r\n") == std::string::npos, "a loaded text is one line");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view plain = fuzz::Bytes(data, size);
    const RecordsReading reading = ReadRecords(plain);
    fuzz::Require(reading.classicPlaces <= RecordPlaces && reading.levelPlaces <= RecordPlaces, "at most 100 places");
    fuzz::Require(reading.classicPlaces + reading.levelPlaces + reading.placesLost <= 2 * RecordPlaces,
                  "no place is counted twice");
    RequireStorable(reading.tables.classic);
    RequireStorable(reading.tables.level);

    std::string saved = RecordsToFileBytes(reading.tables);
    ScrambleRecordBytes(saved);
    const RecordsReading back = ReadRecords(saved);
    fuzz::Require(back.tables.classic == reading.tables.classic && back.tables.level == reading.tables.level,
                  "a saved file loads back the same");
    fuzz::Require(back.Whole() && back.classicPlaces == RecordPlaces && back.levelPlaces == RecordPlaces,
                  "a saved file holds all 200 places");
    return 0;
}
