// The human-readable form of the levels, from which the shipped levels file is
// packed and into which any levels file can be unpacked for editing:
//
//   level 7: Bricks under a roof
//   ..........        20 rows of 10 cells, top row first: . empty, # brick,
//   ...               1..7 a block of that colour; "= v v ..." ten byte values
//   quotas 0 1 0 1
//   speed 3
//   seconds 0
//   bonus 0
//
// Lines starting with ";" are notes for the reader; they stay with the level
// that follows them. Blank lines are ignored.
#pragma once

#include "levels/levels_file.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plumix {

struct LevelSource {
    LevelSet levels{};
    std::array<std::string, LevelCount> titles;           // for us, never shown in the game
    std::array<std::vector<std::string>, LevelCount> notes;  // the ";" lines before each level
};

struct LevelSourceParse {
    std::optional<LevelSource> source;
    // Why the text was refused, naming the level and the line:
    // "level 12, line 345: a row has 11 cells, not 10".
    std::string error;
};

LevelSourceParse ParseLevelSource(std::string_view text);

// Reads and parses a source file; the error names the file when it cannot be
// read. A source bigger than this is cut there (and then refused).
inline constexpr std::size_t MaxLevelSourceBytes = 4 * 1024 * 1024;
LevelSourceParse ReadLevelSource(const std::filesystem::path& path);

// The text form; parsing it gives `source` back exactly.
std::string FormatLevelSource(const LevelSource& source);

// The text form of levels read from a file: titles and notes from `named`
// where given (the source the file was packed from), else "Level N".
LevelSource SourceForLevels(const LevelSet& levels, const LevelSource* named = nullptr);

} // namespace plumix
