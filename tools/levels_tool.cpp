// plumix-levels: packs the levels' source form into the game's levels file,
// unpacks any levels file back into the source form, and checks the shipped
// pair (CTest runs it).
//
//   plumix-levels pack SOURCE FILE            levels.txt -> plumix2.bin
//   plumix-levels unpack FILE [SOURCE]        plumix2.bin -> text on stdout,
//                                             titles and notes taken from SOURCE
//   plumix-levels check SOURCE FILE           FILE is packed from SOURCE, which is
//                                             in its written-out form, and the
//                                             levels keep what they promise as a
//                                             designed game (below); exit 1 if not
#include "levels/level_source.h"
#include "levels/levels_file.h"
#include "base/file_io.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <functional>
#include <set>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>

namespace {

using namespace plumix;

std::optional<LevelSource> ReadSource(const char* path)
{
    LevelSourceParse parsed = ReadLevelSource(path);
    if (!parsed.source) {
        std::cerr << parsed.error << "\n";
    }
    return std::move(parsed.source);
}

int Pack(const char* sourcePath, const char* filePath)
{
    const auto source = ReadSource(sourcePath);
    if (!source) {
        return 1;
    }
    if (!ReplaceFileContents(filePath, PackLevels(source->levels))) {
        std::cerr << filePath << ": cannot be written\n";
        return 1;
    }
    return 0;
}

int Unpack(const char* filePath, const char* sourcePath)
{
    const auto bytes = ReadFileBytes(filePath, LevelsFileBytes);
    if (!bytes) {
        std::cerr << filePath << ": cannot be read\n";
        return 1;
    }
    if (bytes->size() < LevelsFileBytes) {
        std::cerr << filePath << ": " << bytes->size() << " bytes, not " << LevelsFileBytes
                  << "; the missing bytes read as 0\n";
    }
    std::optional<LevelSource> named;
    if (sourcePath != nullptr) {
        named = ReadSource(sourcePath);
        if (!named) {
            return 1;
        }
    }
    std::cout << FormatLevelSource(SourceForLevels(ParseLevels(*bytes), named ? &*named : nullptr));
    return 0;
}

// A block: a locked cell that is not a brick.
bool IsBlock(std::uint8_t cell)
{
    return cell != CellEmpty && cell != CellBrick;
}

// A brick with a block anywhere above it in its column, under a cap, a roof,
// a ledge or a shelf; bricks on bricks do not count (a tower is open above).
bool HasBrickUnderABlock(const LevelDef& level)
{
    return std::any_of(level.cells.begin(), level.cells.end(), [](const auto& column) {
        return std::find(std::find_if(column.begin(), column.end(), IsBlock), column.end(), CellBrick) != column.end();
    });
}

// The six bottom rows all near-full junk: no brick, blocks in seven cells or more.
bool StandsOnJunk(const LevelDef& level)
{
    for (std::size_t row = BoardRows - 6; row < BoardRows; ++row) {
        int blocks = 0;
        for (const auto& column : level.cells) {
            if (column[row] == CellBrick) {
                return false;
            }
            blocks += IsBlock(column[row]) ? 1 : 0;
        }
        if (blocks < 7) {
            return false;
        }
    }
    return true;
}

// What the shipped levels promise as a designed game, so that a later edit
// cannot quietly turn them back into rows of junk; how hard each level is
// stays with the automatic player (make prove-levels). Each breach is a line
// on stderr.
int DesignBreaches(const LevelSet& levels)
{
    int breaches = 0;
    const auto breach = [&breaches](const std::string& what) {
        std::cerr << "levels: " << what << "\n";
        ++breaches;
    };
    const auto where = [&levels](const std::function<bool(const LevelDef&)>& pred) {
        std::vector<int> found;
        for (int l = 0; l < LevelCount; ++l) {
            if (pred(levels[static_cast<std::size_t>(l)])) {
                found.push_back(l);
            }
        }
        return found;
    };
    for (int l = 0; l < LevelCount; ++l) {
        if (!levels[static_cast<std::size_t>(l)].HasTask()) {
            breach("level " + std::to_string(l) + " has no task");
        }
    }
    // Bricks and quotas together, often, in every ten from level 10 on, and
    // no place in the ten holding more than a third of them.
    constexpr int Group = 10;
    const auto combined = where([](const LevelDef& d) { return d.HasBricks() && d.HasQuota(); });
    std::array<int, LevelCount / Group> perGroup{};
    std::array<int, Group> perPlace{};
    for (const int l : combined) {
        ++perGroup[static_cast<std::size_t>(l / Group)];
        ++perPlace[static_cast<std::size_t>(l % Group)];
    }
    if (combined.size() < 25) {
        breach(std::to_string(combined.size()) + " levels combine bricks and quotas, fewer than 25");
    }
    for (std::size_t g = 1; g < perGroup.size(); ++g) {
        if (perGroup[g] == 0) {
            breach("no level of " + std::to_string(g * Group) + ".." + std::to_string(g * Group + 9) +
                   " combines bricks and quotas");
        }
    }
    if (const int busiest = *std::max_element(perPlace.begin(), perPlace.end()); busiest * 3 > int(combined.size())) {
        breach(std::to_string(busiest) + " combined levels share one place in the ten");
    }
    // The clock alone wins a survival level: another task there is one the
    // player is told of and never needs.
    for (const int l : where([](const LevelDef& d) { return d.HasTime() && (d.HasBricks() || d.HasQuota()); })) {
        breach("survival level " + std::to_string(l) + " has other tasks");
    }
    if (const auto buried = where(HasBrickUnderABlock); buried.size() < 40) {
        breach(std::to_string(buried.size()) + " levels bury a brick under a block, fewer than 40");
    }
    if (const auto onJunk = where(StandsOnJunk); onJunk.size() > 35) {
        breach(std::to_string(onJunk.size()) + " levels stand on six rows of near-full junk, more than 35");
    }
    // Each bonus round a field of its own, and not the empty well.
    std::set<decltype(LevelDef::cells)> fields{decltype(LevelDef::cells){}};
    const auto bonus = where([](const LevelDef& d) { return d.IsBonusRound(); });
    if (bonus.empty()) {
        breach("no bonus round");
    }
    for (const int l : bonus) {
        if (!fields.insert(levels[static_cast<std::size_t>(l)].cells).second) {
            breach("bonus round " + std::to_string(l) + " is empty or repeats an earlier bonus field");
        }
    }
    return breaches;
}

int Check(const char* sourcePath, const char* filePath)
{
    const auto text = ReadFileBytes(sourcePath);
    const auto file = ReadFileBytes(filePath);
    const auto source = ReadSource(sourcePath);
    if (!text || !file || !source) {
        std::cerr << "cannot read " << sourcePath << " and " << filePath << "\n";
        return 1;
    }
    int breaches = 0;
    if (*file != PackLevels(source->levels)) {
        std::cerr << filePath << " is out of date: plumix-levels pack " << sourcePath << " " << filePath << "\n";
        ++breaches;
    }
    if (FormatLevelSource(SourceForLevels(ParseLevels(*file), &*source)) != *text) {
        std::cerr << sourcePath << " is not in its written-out form: plumix-levels unpack " << filePath << " "
                  << sourcePath << " > new.txt\n";
        ++breaches;
    }
    breaches += DesignBreaches(ParseLevels(*file));
    return breaches == 0 ? 0 : 1;
}

void Usage()
{
    std::cerr << "usage: plumix-levels pack SOURCE FILE\n"
                 "       plumix-levels unpack FILE [SOURCE]\n"
                 "       plumix-levels check SOURCE FILE\n";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "pack") == 0) {
        return Pack(argv[2], argv[3]);
    }
    if (argc == 4 && std::strcmp(argv[1], "check") == 0) {
        return Check(argv[2], argv[3]);
    }
    if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "unpack") == 0) {
        return Unpack(argv[2], argc == 4 ? argv[3] : nullptr);
    }
    Usage();
    return 2;
}
