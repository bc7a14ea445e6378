// The 100 levels of the level mode and their file "Data/plumix2.bin": the
// cells of every level first, interleaved row by row across all levels, then
// one 10-byte trailer per level. The file is only ever read by the game.
#pragma once

#include "engine/board.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace plumix {

inline constexpr int LevelCount = 100;
inline constexpr int LastLevel = LevelCount - 1;
inline constexpr std::size_t LevelTrailerBytes = 10;
inline constexpr std::size_t LevelCellBytes = std::size_t{BoardCellCount} * LevelCount;  // 20000
inline constexpr std::size_t LevelsFileBytes = LevelCellBytes + LevelTrailerBytes * LevelCount;  // 21000
inline constexpr const char* LevelsFileName = "Data/plumix2.bin";

struct LevelDef {
    // cells[column][row]: 0 empty, 8 brick, 1..7 a block of that colour.
    FieldCells cells{};
    std::array<std::uint8_t, 4> quotas{};  // removals of 1, 2, 3 and 4 rows required
    std::uint8_t speed = 0;
    std::uint8_t seconds = 0;              // 0: no time task
    std::uint8_t bonus = 0;                // non-zero: a bonus round

    bool HasBricks() const;
    bool HasQuota() const;
    bool HasTime() const { return seconds > 0; }
    bool HasTask() const { return HasBricks() || HasQuota() || HasTime(); }
    bool IsBonusRound() const { return bonus != 0; }
    bool operator==(const LevelDef&) const = default;
};

using LevelSet = std::array<LevelDef, LevelCount>;

// Byte offset of one cell and of one level's trailer in the file.
constexpr std::size_t LevelCellOffset(int level, int column, int row)
{
    return (static_cast<std::size_t>(row) * LevelCount + static_cast<std::size_t>(level)) * BoardColumns +
           static_cast<std::size_t>(column);
}
constexpr std::size_t LevelTrailerOffset(int level)
{
    return LevelCellBytes + LevelTrailerBytes * static_cast<std::size_t>(level);
}

// The levels in `bytes`; whatever the bytes do not reach (a short or missing
// file) is 0, and bytes past the layout are ignored.
LevelSet ParseLevels(std::string_view bytes);
// The file of `levels`, 21000 bytes; the bytes the game never reads are 0.
std::string PackLevels(const LevelSet& levels);
// Reads the file once; a missing or short file leaves empty levels.
LevelSet LoadLevels(const std::filesystem::path& path);

} // namespace plumix
