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

// Takes all of a place's lines, a bad one included, so that the next place
// starts at its own line.
PlaceRead ReadPlace(LineReader& lines, std::span<const Field> fields, Record& record)
{
    bool good = true;
    for (const Field& field : fields) {
        const auto line = lines.Next();
        if (!line) {
            return PlaceRead::CutOff;
        }
        good = std::visit(
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
                   field) &&
               good;
    }
    return good ? PlaceRead::Whole : PlaceRead::BadLine;
}

void ReadTable(LineReader& lines, std::span<const Field> fields, RecordTable& table, int& places, int& lost)
{
    for (int place = 1; place <= RecordPlaces && !lines.AtEnd(); ++place) {
        Record record;
        switch (ReadPlace(lines, fields, record)) {
        case PlaceRead::Whole: table.At(++places) = std::move(record); break;
        case PlaceRead::BadLine: ++lost; break;
        case PlaceRead::CutOff: ++lost; return;
        }
    }
}

constexpr std::string_view DamagedCopySuffix = ".damaged";
// Each damage of a file found anew gets a copy of its own; past this many the
// damaged file is left alone rather than a copy lost.
constexpr int MaxDamagedCopies = 99;

// Keeps the damaged file's bytes beside it, in the first copy that holds them
// already or under the first free name; nothing is ever written over.
RecordsFileStatus KeepDamagedCopy(const std::filesystem::path& file, const std::string& bytes, int placesLost)
{
    RecordsFileStatus status;
    status.placesLost = placesLost;
    for (int n = 1; n <= MaxDamagedCopies; ++n) {
        std::filesystem::path copy = file;
        copy += DamagedCopySuffix;
        if (n > 1) {
            copy += "-" + std::to_string(n);
        }
        if (FileIsMissing(copy)) {
            if (ReplaceFileContents(copy, bytes)) {
                status.keptCopy = copy;
            } else {
                status.copyFailed = true;
            }
            return status;
        }
        if (ReadFileBytes(copy) == bytes) {
            return status;
        }
    }
    status.copyFailed = true;
    return status;
}

RecordsFileStatus Failed(RecordsFileStatus status = {})
{
    status.ok = false;
    return status;
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

RecordsReading ReadRecords(std::string_view plainText)
{
    RecordsReading reading;
    LineReader lines(plainText);
    ReadTable(lines, ClassicFields, reading.tables.classic, reading.classicPlaces, reading.placesLost);
    // A Classic table cut off leaves no lines for the level-mode one.
    ReadTable(lines, LevelFields, reading.tables.level, reading.levelPlaces, reading.placesLost);
    return reading;
}

RecordsReading ReadRecordFile(std::string_view fileBytes)
{
    std::string plain(fileBytes);
    ScrambleRecordBytes(plain);
    return ReadRecords(plain);
}

std::string RecordsToFileBytes(const RecordTables& tables)
{
    std::string bytes = SerializeRecords(tables);
    ScrambleRecordBytes(bytes);
    return bytes;
}

RecordsReading MergeRecordFile(std::string_view fileBytes, RecordTables& tables)
{
    const RecordsReading incoming = ReadRecordFile(fileBytes);
    MergeRecords(tables.classic, incoming.tables.classic, incoming.classicPlaces);
    MergeRecords(tables.level, incoming.tables.level, incoming.levelPlaces);
    return incoming;
}

std::string DamagedRecordsMessage(const std::filesystem::path& file, const RecordsFileStatus& status)
{
    if (status.keptCopy.empty() && !status.copyFailed) {
        return {};
    }
    const bool one = status.placesLost == 1;
    std::string text = "The hi-scores file " + file.string() + " is damaged: " + std::to_string(status.placesLost) +
                       (one ? " place could not be read and is" : " places could not be read and are") +
                       " left out of the tables. ";
    if (status.copyFailed) {
        return text + "No copy of the file could be kept, so it is not written over.";
    }
    return text + "The file as it was is kept as " + status.keptCopy.string() + ".";
}

RecordsFileStatus LoadRecords(const std::filesystem::path& path, RecordTables& tables)
{
    tables = {};
    const bool writable = EnsureWritableFile(path) && CanReplaceFile(path);
    // One byte over the cap tells a file too big for any record file.
    const auto bytes = ReadFileBytes(path, MaxFileBytes + 1);
    if (!bytes || bytes->size() > MaxFileBytes) {
        return Failed();
    }
    RecordsReading reading = ReadRecordFile(*bytes);
    tables = std::move(reading.tables);
    RecordsFileStatus status = reading.Whole() ? RecordsFileStatus{} : KeepDamagedCopy(path, *bytes, reading.placesLost);
    status.ok = writable;
    return status;
}

RecordsFileStatus MergeIntoFile(const std::filesystem::path& file, RecordTables& tables, MergeTarget target)
{
    if (file.empty()) {
        return Failed();
    }
    RecordTables merged = tables;
    RecordsFileStatus status;
    const auto bytes = ReadFileBytes(file, MaxFileBytes + 1);
    if (bytes) {
        if (bytes->size() > MaxFileBytes) {
            return Failed();
        }
        const RecordsReading reading = MergeRecordFile(*bytes, merged);
        if (!reading.Whole()) {
            // Another installation's file with no record in it is no record
            // file at all (or was never scrambled): not ours to replace.
            if (target == MergeTarget::SharedFile && reading.Empty()) {
                return Failed();
            }
            status = KeepDamagedCopy(file, *bytes, reading.placesLost);
            if (status.copyFailed) {
                return Failed(status);
            }
        }
    } else if (target == MergeTarget::SharedFile || !FileIsMissing(file)) {
        return Failed();  // unreadable: what it holds must not be written over
    }
    if (!ReplaceFileContents(file, RecordsToFileBytes(merged))) {
        return Failed(status);
    }
    tables = std::move(merged);
    return status;
}

RecordsFileStatus SaveRecords(const std::filesystem::path& path, RecordTables& tables)
{
    return MergeIntoFile(path, tables, MergeTarget::OwnFile);
}

} // namespace plumix
