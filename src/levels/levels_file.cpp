#include "levels/levels_file.h"

#include "base/file_io.h"

#include <algorithm>

namespace plumix {

namespace {

// Trailer fields by their offset inside a level's 10 bytes; 6, 7 and 9 are
// never read.
constexpr std::size_t TrailerSpeed = 4;
constexpr std::size_t TrailerSeconds = 5;
constexpr std::size_t TrailerBonus = 8;

} // namespace

bool LevelDef::HasBricks() const
{
    return std::any_of(cells.begin(), cells.end(), [](const auto& column) {
        return std::find(column.begin(), column.end(), CellBrick) != column.end();
    });
}

bool LevelDef::HasQuota() const
{
    return std::any_of(quotas.begin(), quotas.end(), [](std::uint8_t q) { return q > 0; });
}

LevelSet ParseLevels(std::string_view bytes)
{
    const auto byteAt = [&](std::size_t offset) -> std::uint8_t {
        return offset < bytes.size() ? static_cast<std::uint8_t>(bytes[offset]) : 0;
    };
    LevelSet levels{};
    for (int level = 0; level < LevelCount; ++level) {
        LevelDef& def = levels[static_cast<std::size_t>(level)];
        for (int row = 0; row < BoardRows; ++row) {
            for (int column = 0; column < BoardColumns; ++column) {
                def.cells[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)] =
                    byteAt(LevelCellOffset(level, column, row));
            }
        }
        const std::size_t trailer = LevelTrailerOffset(level);
        for (std::size_t i = 0; i < def.quotas.size(); ++i) {
            def.quotas[i] = byteAt(trailer + i);
        }
        def.speed = byteAt(trailer + TrailerSpeed);
        def.seconds = byteAt(trailer + TrailerSeconds);
        def.bonus = byteAt(trailer + TrailerBonus);
    }
    return levels;
}

std::string PackLevels(const LevelSet& levels)
{
    std::string bytes(LevelsFileBytes, '\0');
    const auto put = [&](std::size_t offset, std::uint8_t value) { bytes[offset] = static_cast<char>(value); };
    for (int level = 0; level < LevelCount; ++level) {
        const LevelDef& def = levels[static_cast<std::size_t>(level)];
        for (int row = 0; row < BoardRows; ++row) {
            for (int column = 0; column < BoardColumns; ++column) {
                put(LevelCellOffset(level, column, row),
                    def.cells[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)]);
            }
        }
        const std::size_t trailer = LevelTrailerOffset(level);
        for (std::size_t i = 0; i < def.quotas.size(); ++i) {
            put(trailer + i, def.quotas[i]);
        }
        put(trailer + TrailerSpeed, def.speed);
        put(trailer + TrailerSeconds, def.seconds);
        put(trailer + TrailerBonus, def.bonus);
    }
    return bytes;
}

LevelSet LoadLevels(const std::filesystem::path& path)
{
    return ParseLevels(ReadFileBytes(path, LevelsFileBytes).value_or(std::string()));
}

} // namespace plumix
