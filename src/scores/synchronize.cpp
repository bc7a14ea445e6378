#include "scores/synchronize.h"

namespace plumix {

std::filesystem::path SharedRecordsPath(const char* home)
{
    if (home == nullptr || *home == '\0') {
        return {};
    }
    return std::filesystem::path(home) / RecordsFileName;
}

RecordsFileStatus Synchronize(const std::filesystem::path& sharedFile, RecordTables& tables)
{
    return MergeIntoFile(sharedFile, tables, MergeTarget::SharedFile);
}

} // namespace plumix
