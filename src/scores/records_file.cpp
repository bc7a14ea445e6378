#include "scores/records_file.h"

#include "base/file_io.h"
#include "base/list_input.h"
#include "base/text_codec.h"

#include <algorithm>
#include <array>
#include <span>
#include <type_traits>
#include <variant>

namespace plumix {

namespace {

using Field = std::variant<std::string Record::*, std::int32_t Record::*, std::uint8_t Record::*>;

constexpr std::array<Field, 9> ClassicFields = {
    &Record::player, &Record::score, &Record::lines1,  &Record::lines2, &Record::lines3,
    &Record::lines4, &Record::date,  &Record::comment, &Record::level,
};
// Level-mode places keep no line counters in the file.
constexpr std::array<Field, 5> LevelFields = {
    &Record::player, &Record::score, &Record::date, &Record::comment, &Record::level,
};

constexpr int ScrambleKeys = 250;

enum class PlaceRead { Whole, CutOff, BadLine };

PlaceRead ReadPlace(LineReader& lines, std::span<const Field> fields, Record& record, int& linesRead)
{
    for (const Field& field : fields) {
        const auto line = lines.Next();
        if (!line) {
            return PlaceRead::CutOff;
        }
        ++linesRead;
        const bool good = std::visit(
            [&](auto member) {
                using Member = decltype(member);
                if constexpr (std::is_same_v<Member, std::string Record::*>) {
                    std::string text = Cp1251ToUtf8(*line);
                    std::replace(text.begin(), text.end(), '\r', ' ');
                    record.*member = std::move(text);
                    return true;
                } else {
                    using Number = std::remove_reference_t<decltype(record.*member)>;
                    const auto value = ParseListNumberAs<Number>(*line);
                    if (value) {
                        record.*member = *value;
                    }
                    return value.has_value();
                }
            },
            field);
        if (!good) {
            return PlaceRead::BadLine;
        }
    }
    return PlaceRead::Whole;
}

// False when reading has to stop.
bool ReadTable(LineReader& lines, std::span<const Field> fields, RecordTable& table, int& places,
               RecordsReading& reading)
{
    for (int place = 1; place <= RecordPlaces && !lines.AtEnd(); ++place) {
        Record record;
        const PlaceRead read = ReadPlace(lines, fields, record, reading.linesRead);
        if (read != PlaceRead::Whole) {
            reading.stoppedOnBadLine = read == PlaceRead::BadLine;
            return false;
        }
        table.At(place) = std::move(record);
        places = place;
    }
    return true;
}

std::string StorableText(std::string text)
{
    std::replace(text.begin(), text.end(), '\r', ' ');
    std::replace(text.begin(), text.end(), '\n', ' ');
    return Utf8ToCp1251(text);
}

void WriteTable(std::string& out, std::span<const Field> fields, const RecordTable& table)
{
    for (int place = 1; place <= RecordPlaces; ++place) {
        const Record& record = table.At(place);
        for (const Field& field : fields) {
            std::visit(
                [&](auto member) {
                    if constexpr (std::is_same_v<decltype(member), std::string Record::*>) {
                        out += StorableText(record.*member);
                    } else {
                        out += FormatListNumber(record.*member);
                    }
                },
                field);
            out += "\r\n";
        }
    }
}

} // namespace

void ScrambleRecordBytes(std::string& bytes)
{
    int key = 1;
    for (char& byte : bytes) {
        byte = static_cast<char>(static_cast<unsigned char>(byte) ^ key);
        key = key == ScrambleKeys ? 1 : key + 1;
    }
}

std::string SerializeRecords(const RecordTables& tables)
{
    std::string out;
    WriteTable(out, ClassicFields, tables.classic);
    WriteTable(out, LevelFields, tables.level);
    return out;
}

std::string StoredForm(std::string_view utf8)
{
    return Cp1251ToUtf8(StorableText(std::string(utf8)));
}

bool RecordsReading::Whole() const
{
    return !stoppedOnBadLine && linesRead == classicPlaces * std::ssize(ClassicFields) +
                                                 levelPlaces * std::ssize(LevelFields);
}

RecordsReading ReadRecords(std::string_view plainText)
{
    RecordsReading reading;
    LineReader lines(plainText);
    if (ReadTable(lines, ClassicFields, reading.tables.classic, reading.classicPlaces, reading)) {
        ReadTable(lines, LevelFields, reading.tables.level, reading.levelPlaces, reading);
    }
    return reading;
}

RecordTables ParseRecords(std::string_view plainText)
{
    return ReadRecords(plainText).tables;
}

std::string RecordsToFileBytes(const RecordTables& tables)
{
    std::string bytes = SerializeRecords(tables);
    ScrambleRecordBytes(bytes);
    return bytes;
}

RecordTables RecordsFromFileBytes(std::string_view fileBytes)
{
    std::string plain(fileBytes);
    ScrambleRecordBytes(plain);
    return ParseRecords(plain);
}

bool ScrambleFile(const std::filesystem::path& path)
{
    if (!EnsureWritableFile(path)) {
        return false;
    }
    auto bytes = ReadFileBytes(path, MaxFileBytes + 1);
    if (!bytes || bytes->size() > MaxFileBytes) {
        return false;
    }
    ScrambleRecordBytes(*bytes);
    return ReplaceFileContents(path, *bytes);
}

RecordsFileResult LoadRecords(const std::filesystem::path& path, RecordTables& tables)
{
    tables = {};
    const bool writable = EnsureWritableFile(path);
    const auto bytes = ReadFileBytes(path);
    if (bytes) {
        tables = RecordsFromFileBytes(*bytes);
    }
    return writable && bytes ? RecordsFileResult::Ok : RecordsFileResult::Failed;
}

RecordsFileResult SaveRecords(const std::filesystem::path& path, RecordTables& tables)
{
    RecordTables merged = tables;
    if (const auto bytes = ReadFileBytes(path)) {
        std::string plain = *bytes;
        ScrambleRecordBytes(plain);
        const RecordsReading onDisk = ReadRecords(plain);
        MergeRecords(merged.classic, onDisk.tables.classic, onDisk.classicPlaces);
        MergeRecords(merged.level, onDisk.tables.level, onDisk.levelPlaces);
    }
    if (!ReplaceFileContents(path, RecordsToFileBytes(merged))) {
        return RecordsFileResult::Failed;
    }
    tables = std::move(merged);
    return RecordsFileResult::Ok;
}

} // namespace plumix
