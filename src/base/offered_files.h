// The files the settings dialog offers as languages or skins: those whose
// second line is exactly the format version "1.4", listed under their first line.
#pragma once

#include <cstddef>
#include <filesystem>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace plumix {

inline constexpr std::string_view FileFormatVersion = "1.4";

struct OfferedFile {
    std::string displayName;  // UTF-8
    std::string fileName;     // the value for the setting: raw bytes, no folder
};

// The offered files of `folder` whose names end in `extension` (compared
// without regard to case, as the old file pattern did), in byte order of their
// names, at most `maxCount`. A name holding a line break is left out: the
// settings file could not store it.
std::vector<OfferedFile> ListOfferedFiles(const std::filesystem::path& folder,
                                          std::string_view extension,
                                          std::size_t maxCount = std::numeric_limits<std::size_t>::max());

// The same over `subfolder` of each of `folders` together: a name found in
// more than one is offered once, from the first folder holding it.
std::vector<OfferedFile> ListOfferedFilesIn(const std::vector<std::filesystem::path>& folders,
                                            std::string_view subfolder, std::string_view extension,
                                            std::size_t maxCount = std::numeric_limits<std::size_t>::max());

} // namespace plumix
