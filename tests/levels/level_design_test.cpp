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

const std::string ShippedPath = std::string(PLUMIX_ASSETS) + "/Data/plumix2.bin";

constexpr int GroupSize = 10;
constexpr int MinCombinedLevels = 25;
constexpr int MinLevelsWithBuriedBricks = 40;
constexpr int MaxLevelsOnJunk = 35;
// A near-full junk row holds at least this many blocks (three gaps at most);
// a level stands on junk when this many rows of it rise from the floor.
constexpr int JunkRowBlocks = 7;
constexpr int JunkRowsToStandOn = 6;

// A block: a locked cell that is not a brick (a figure colour, or any other
// value a file made elsewhere may hold).
bool IsBlock(std::uint8_t cell)
{
    return cell != CellEmpty && cell != CellBrick;
}

std::uint8_t At(const LevelDef& level, int column, int row)
{
    return level.cells[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)];
}

// A brick under a block: a brick with a block anywhere above it in its
// column, under a cap, a roof, a ledge or a shelf. Bricks on bricks do not
// count: a tower of bricks is open from above.
bool HasBrickUnderABlock(const LevelDef& level)
{
    for (int column = 0; column < BoardColumns; ++column) {
        bool covered = false;
        for (int row = 0; row < BoardRows; ++row) {
            const std::uint8_t cell = At(level, column, row);
            if (cell == CellBrick && covered) {
                return true;
            }
            covered = covered || IsBlock(cell);
        }
    }
    return false;
}

// A near-full junk row: no brick, and blocks in at least seven of its ten
// cells. A level stands on junk when its six bottom rows are all such rows.
bool IsJunkRow(const LevelDef& level, int row)
{
    int blocks = 0;
    for (int column = 0; column < BoardColumns; ++column) {
        const std::uint8_t cell = At(level, column, row);
        if (cell == CellBrick) {
            return false;
        }
        blocks += IsBlock(cell) ? 1 : 0;
    }
    return blocks >= JunkRowBlocks;
}

bool StandsOnJunk(const LevelDef& level)
{
    for (int row = BoardRows - JunkRowsToStandOn; row < BoardRows; ++row) {
        if (!IsJunkRow(level, row)) {
            return false;
        }
    }
    return true;
}

template <typename Pred>
std::vector<int> LevelsWhere(const LevelSet& levels, Pred pred)
{
    std::vector<int> out;
    for (int l = 0; l < LevelCount; ++l) {
        if (pred(levels[static_cast<std::size_t>(l)])) {
            out.push_back(l);
        }
    }
    return out;
}

std::string Listed(const std::vector<int>& levels)
{
    std::string out;
    for (const int l : levels) {
        out += (out.empty() ? "" : " ") + std::to_string(l);
    }
    return out;
}

class ShippedLevelDesign : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(std::filesystem::exists(ShippedPath)) << ShippedPath;
        levels_ = LoadLevels(ShippedPath);
    }
    LevelSet levels_;
};

TEST_F(ShippedLevelDesign, BricksAndQuotasCombineOftenAtNoFixedPlaceAndSurvivalStandsAlone)
{
    const auto combined = LevelsWhere(levels_, [](const LevelDef& d) { return d.HasBricks() && d.HasQuota(); });
    EXPECT_GE(static_cast<int>(combined.size()), MinCombinedLevels) << "combined: " << Listed(combined);

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
        << *busiest << " combined levels end in " << busiest - perPlace.begin() << ": " << Listed(combined);

    // The clock alone wins a survival level, so bricks or a quota there would
    // be a task the player is told of and never needs.
    const auto mixedSurvival =
        LevelsWhere(levels_, [](const LevelDef& d) { return d.HasTime() && (d.HasBricks() || d.HasQuota()); });
    EXPECT_TRUE(mixedSurvival.empty()) << "survival with other tasks: " << Listed(mixedSurvival);
}

TEST_F(ShippedLevelDesign, FieldsBuryBricksUnderBlocksAndFewStandOnJunk)
{
    const auto buried = LevelsWhere(levels_, HasBrickUnderABlock);
    EXPECT_GE(static_cast<int>(buried.size()), MinLevelsWithBuriedBricks) << "bricks under a block: " << Listed(buried);
    const auto onJunk = LevelsWhere(levels_, StandsOnJunk);
    EXPECT_LE(static_cast<int>(onJunk.size()), MaxLevelsOnJunk) << "on six rows of near-full junk: " << Listed(onJunk);
}

TEST_F(ShippedLevelDesign, EveryBonusRoundHasAFieldOfItsOwn)
{
    const auto bonus = LevelsWhere(levels_, [](const LevelDef& d) { return d.IsBonusRound(); });
    ASSERT_FALSE(bonus.empty());
    std::set<decltype(LevelDef::cells)> fields{decltype(LevelDef::cells){}};  // the empty well is nobody's
    for (const int l : bonus) {
        EXPECT_TRUE(fields.insert(levels_[static_cast<std::size_t>(l)].cells).second)
            << "bonus round " << l << " is empty or repeats an earlier bonus field";
    }
}

} // namespace
} // namespace plumix
