// The settings file "plumix.ini": sixteen lines, the two file names as whole
// lines and fourteen numbers, read once at start-up and written once at the end.
#pragma once

#include "settings/settings.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace plumix {

inline constexpr std::string_view SettingsFileName = "plumix.ini";

// The settings a file's content gives: values in file order, each missing line
// or number line that is not a whole number 0..255 keeping its default; lines
// after the sixteenth are ignored. The names are raw bytes, not decoded.
Settings ParseSettings(std::string_view bytes);

// Sixteen lines ended by CR LF, numbers written as " n ".
std::string SerializeSettings(const Settings& settings);

// Reads the file; a missing one is created empty (an existing one is never
// changed) and gives the defaults, as does one that cannot be read.
Settings LoadSettings(const std::filesystem::path& path);

// Writes all sixteen values; false when the file could not be written, in
// which case it keeps its previous content.
bool SaveSettings(const std::filesystem::path& path, const Settings& settings);

} // namespace plumix
