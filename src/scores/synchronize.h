// Synchronizing: merging the tables of another installation, whose record
// file the player has placed as "Records" in the home folder, into the game's
// own tables, and writing the merged tables back there for the other side to
// take over the same way. The game's own "Records" is not touched.
#pragma once

#include "scores/records_file.h"

#include <filesystem>
#include <string>

namespace plumix {

// "$HOME/Records"; empty when there is no home folder, which no file can be.
std::filesystem::path SharedRecordsPath(const char* home);

// Merges both tables of the shared file into `tables` and writes the merge
// back there whole (MergeIntoFile with the shared file's rules): ok false, with
// neither the tables nor the file changed, when it is missing, unreadable or
// holds no record at all. Damage costs only the places damaged, and the file
// as it was is kept beside it first.
RecordsFileStatus Synchronize(const std::filesystem::path& sharedFile, RecordTables& tables);

// What the hi-scores window tells the player of a synchronizing.
struct SyncReport {
    bool ok = false;
    std::string damaged;  // a damaged shared file kept: DamagedRecordsMessage
};

} // namespace plumix
