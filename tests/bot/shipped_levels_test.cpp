#include "bot/proof.h"
#include "levels/levels_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>

namespace plumix::bot {
namespace {

#if defined(__SANITIZE_ADDRESS__)
// The sanitized build plays many times slower; the first seeds win nearly
// every level anyway.
constexpr int Seeds = 2;
#else
constexpr int Seeds = 4;
#endif

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
