// Synchronizing: merging the tables of another installation, whose record
// file the player has placed as "Records" in the home folder, into the game's
// own tables, and writing the merged tables back there for the other side to
// take over the same way. The game's own "Records" is not touched.
#pragma once

#include "scores/records.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace plumix {

// "$HOME/Records"; empty when there is no home folder, which no file can be.
std::filesystem::path SharedRecordsPath(const char* home);

// Merges a shared file, as its bytes lie on disk, into `tables` and gives the
// bytes that are to replace it: the merged tables, scrambled. Nullopt, with
// the tables unchanged, unless its text is whole places of the record layout
// (see RecordsReading::Whole): a place cut off in the middle or a bad number
// line means it is no record file, or was never scrambled. Another
// installation may have written fewer than all 200 places; only the places
// present are merged.
std::optional<std::string> MergeSharedFile(std::string_view fileBytes, RecordTables& tables);

// True when the shared file was merged and has been replaced by the merged
// tables, scrambled. Anything else (no such file, not a record file, cannot be
// written) gives false and changes neither the tables nor the file: it is read
// and unscrambled in memory and replaced whole, never left half written.
bool Synchronize(const std::filesystem::path& sharedFile, RecordTables& tables);

} // namespace plumix
