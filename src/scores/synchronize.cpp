#include "scores/synchronize.h"

#include "scores/records_file.h"
#include "settings/file_io.h"
#include "settings/list_input.h"
#include "settings/text_codec.h"

#include <algorithm>
#include <cstdint>

namespace plumix {

namespace {

constexpr int ClassicPlaceLines = 9;
constexpr int LevelPlaceLines = 5;
constexpr int ClassicPartLines = RecordPlaces * ClassicPlaceLines;

enum class LineKind { Text, Number, Byte };

LineKind KindOfLine(int index)
{
    if (index < ClassicPartLines) {
        // Player, Score, Lines1..4, Date, Comment, Level
        switch (index % ClassicPlaceLines) {
        case 0:
        case 6:
        case 7: return LineKind::Text;
        case 8: return LineKind::Byte;
        default: return LineKind::Number;
        }
    }
    // Player, Score, Date, Comment, Level
    switch ((index - ClassicPartLines) % LevelPlaceLines) {
    case 1: return LineKind::Number;
    case 4: return LineKind::Byte;
    default: return LineKind::Text;
    }
}

bool LineFits(LineKind kind, std::string_view line)
{
    switch (kind) {
    case LineKind::Text: return true;
    case LineKind::Number: return ParseListNumberAs<std::int32_t>(line).has_value();
    case LineKind::Byte: return ParseListNumberAs<std::uint8_t>(line).has_value();
    }
    return false;
}

} // namespace

std::filesystem::path SharedRecordsPath(const char* home)
{
    if (home == nullptr || *home == '\0') {
        return {};
    }
    return std::filesystem::path(home) / RecordsFileName;
}

std::optional<SharedRecords> ParseSharedRecords(std::string_view plainText)
{
    LineReader lines(plainText);
    int count = 0;
    while (count < RecordsFileLines) {
        const auto line = lines.Next();
        if (!line) {
            break;
        }
        if (!LineFits(KindOfLine(count), *line)) {
            return std::nullopt;
        }
        ++count;
    }
    const int classicLines = std::min(count, ClassicPartLines);
    const int levelLines = count - classicLines;
    if (classicLines % ClassicPlaceLines != 0 || levelLines % LevelPlaceLines != 0) {
        return std::nullopt;
    }
    SharedRecords shared;
    shared.tables = ParseRecords(plainText);
    shared.classicPlaces = classicLines / ClassicPlaceLines;
    shared.levelPlaces = levelLines / LevelPlaceLines;
    return shared;
}

void MergeRecords(RecordTable& table, const RecordTable& incoming, int count)
{
    count = std::clamp(count, 0, RecordPlaces);
    for (int i = 1; i <= count; ++i) {
        const Record& candidate = incoming.At(i);
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

bool Synchronize(const std::filesystem::path& sharedFile, RecordTables& tables)
{
    if (sharedFile.empty()) {
        return false;
    }
    // One byte over the cap tells a file too big for any record file.
    auto bytes = ReadFileBytes(sharedFile, MaxFileBytes + 1);
    if (!bytes || bytes->size() > MaxFileBytes) {
        return false;
    }
    ScrambleRecordBytes(*bytes);
    const auto incoming = ParseSharedRecords(*bytes);
    if (!incoming) {
        return false;
    }
    RecordTables merged = tables;
    MergeRecords(merged.classic, incoming->tables.classic, incoming->classicPlaces);
    MergeRecords(merged.level, incoming->tables.level, incoming->levelPlaces);
    if (!ReplaceFileContents(sharedFile, RecordsToFileBytes(merged))) {
        return false;
    }
    tables = std::move(merged);
    return true;
}

} // namespace plumix
