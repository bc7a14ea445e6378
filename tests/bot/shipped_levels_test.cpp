#include "bot/proof.h"
#include "levels/levels_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>

namespace plumix::bot {
namespace {

// A level stops at its first win, so the sanitized build, many times slower,
// plays little more than one seed a level.
constexpr int Seeds = 4;

TEST(ShippedLevels, EveryLevelIsWonWithinTheFirstSeeds)
{
    const std::filesystem::path file = std::filesystem::path(PLUMIX_ASSETS) / LevelsFileName;
    ASSERT_TRUE(std::filesystem::exists(file)) << file;
    const LevelSet set = LoadLevels(file);
    std::vector<int> all(LevelCount);
    std::iota(all.begin(), all.end(), 0);
    for (const LevelSummary& s : MeasureLevels(set, all, Seeds, 2, true)) {
        EXPECT_GT(s.wins, 0) << "level " << s.level << " lost with all " << s.plays << " seeds";
    }
}

} // namespace
} // namespace plumix::bot
