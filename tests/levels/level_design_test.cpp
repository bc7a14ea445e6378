// What the shipped levels promise as a designed game, checked on the file the
// game reads, so that a later edit cannot quietly turn them back into rows of
// junk. How hard each level is stays with the automatic player.
#include "levels/levels_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace plumix {
namespace {

constexpr int GroupSize = 10;

// A block: a locked cell that is not a brick (a figure colour, or any other
// value a file made elsewhere may hold).
bool IsBlock(std::uint8_t cell)
{
    return cell != CellEmpty && cell != CellBrick;
}

// A brick under a block: a brick with a block anywhere above it in its
// column, under a cap, a roof, a ledge or a shelf. Bricks on bricks do not
// count: a tower of bricks is open from above.
bool HasBrickUnderABlock(const LevelDef& level)
{
    for (const auto& column : level.cells) {
        const auto block = std::find_if(column.begin(), column.end(), IsBlock);
        if (std::find(block, column.end(), CellBrick) != column.end()) {
            return true;
        }
    }
    return false;
}

// Standing on junk: the six bottom rows are all near-full junk rows, each
// without a brick and with blocks in at least seven of its ten cells.
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

const LevelSet& Shipped()
{
    static const LevelSet levels = LoadLevels(std::string(PLUMIX_ASSETS) + "/Data/plumix2.bin");
    return levels;
}

// The shipped levels where `pred` holds, and the same as text for a report.
template <typename Pred>
std::pair<std::vector<int>, std::string> LevelsWhere(Pred pred)
{
    std::pair<std::vector<int>, std::string> out;
    for (int l = 0; l < LevelCount; ++l) {
        if (pred(Shipped()[static_cast<std::size_t>(l)])) {
            out.first.push_back(l);
            out.second += (out.second.empty() ? "" : " ") + std::to_string(l);
        }
    }
    return out;
}

TEST(ShippedLevelDesign, BricksAndQuotasCombineOftenAtNoFixedPlaceAndSurvivalStandsAlone)
{
    ASSERT_TRUE(std::filesystem::exists(std::string(PLUMIX_ASSETS) + "/Data/plumix2.bin"));
    const auto [combined, listed] = LevelsWhere([](const LevelDef& d) { return d.HasBricks() && d.HasQuota(); });
    EXPECT_GE(combined.size(), 25u) << "combined: " << listed;

    // Spread over the game: in every ten from level 10 on, and no place in the
    // ten (every 7th level, say) holds more than a third of them.
    std::array<int, LevelCount / GroupSize> perGroup{};
    std::array<int, GroupSize> perPlace{};
    for (const int l : combined) {
        ++perGroup[static_cast<std::size_t>(l / GroupSize)];
        ++perPlace[static_cast<std::size_t>(l % GroupSize)];
    }
    for (std::size_t g = 1; g < perGroup.size(); ++g) {
        EXPECT_GT(perGroup[g], 0) << "no combined level in " << g * GroupSize << ".." << g * GroupSize + 9;
    }
    const auto busiest = std::max_element(perPlace.begin(), perPlace.end());
    EXPECT_LE(*busiest * 3, static_cast<int>(combined.size()))
        << *busiest << " combined levels end in " << busiest - perPlace.begin() << ": " << listed;

    // The clock alone wins a survival level, so bricks or a quota there would
    // be a task the player is told of and never needs.
    const auto mixedSurvival = LevelsWhere([](const LevelDef& d) { return d.HasTime() && (d.HasBricks() || d.HasQuota()); });
    EXPECT_TRUE(mixedSurvival.first.empty()) << "survival with other tasks: " << mixedSurvival.second;
}

TEST(ShippedLevelDesign, FieldsBuryBricksUnderBlocksAndFewStandOnJunk)
{
    const auto buried = LevelsWhere(HasBrickUnderABlock);
    EXPECT_GE(buried.first.size(), 40u) << "bricks under a block: " << buried.second;
    const auto onJunk = LevelsWhere(StandsOnJunk);
    EXPECT_LE(onJunk.first.size(), 35u) << "on six rows of near-full junk: " << onJunk.second;
}

TEST(ShippedLevelDesign, EveryBonusRoundHasAFieldOfItsOwn)
{
    const auto bonus = LevelsWhere([](const LevelDef& d) { return d.IsBonusRound(); });
    ASSERT_FALSE(bonus.first.empty());
    std::set<decltype(LevelDef::cells)> fields{decltype(LevelDef::cells){}};  // the empty well is nobody's
    for (const int l : bonus.first) {
        EXPECT_TRUE(fields.insert(Shipped()[static_cast<std::size_t>(l)].cells).second)
            << "bonus round " << l << " is empty or repeats an earlier bonus field";
    }
}

} // namespace
} // namespace plumix
