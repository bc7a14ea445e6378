#include "scores/synchronize.h"

#include "scores/records_file.h"
#include "base/file_io.h"

namespace plumix {

std::filesystem::path SharedRecordsPath(const char* home)
{
    if (home == nullptr || *home == '\0') {
        return {};
    }
    return std::filesystem::path(home) / RecordsFileName;
}

std::optional<std::string> MergeSharedFile(std::string_view fileBytes, RecordTables& tables)
{
    std::string plain(fileBytes);
    ScrambleRecordBytes(plain);
    const RecordsReading incoming = ReadRecords(plain);
    if (!incoming.Whole()) {
        return std::nullopt;
    }
    MergeRecords(tables.classic, incoming.tables.classic, incoming.classicPlaces);
    MergeRecords(tables.level, incoming.tables.level, incoming.levelPlaces);
    return RecordsToFileBytes(tables);
}

bool Synchronize(const std::filesystem::path& sharedFile, RecordTables& tables)
{
    if (sharedFile.empty()) {
        return false;
    }
    // One byte over the cap tells a file too big for any record file.
    const auto bytes = ReadFileBytes(sharedFile, MaxFileBytes + 1);
    if (!bytes || bytes->size() > MaxFileBytes) {
        return false;
    }
    RecordTables merged = tables;
    const auto written = MergeSharedFile(*bytes, merged);
    if (!written || !ReplaceFileContents(sharedFile, *written)) {
        return false;
    }
    tables = std::move(merged);
    return true;
}

} // namespace plumix
