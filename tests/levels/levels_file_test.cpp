#include "levels/level_source.h"
#include "levels/levels_file.h"

#include <gtest/gtest.h>

#include <string>

namespace plumix {
namespace {

std::uint8_t Cell(const LevelSet& levels, int level, int column, int row)
{
    return levels[static_cast<std::size_t>(level)].cells[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)];
}

TEST(LevelsFile, CellsInterleaveRowByRowAcrossLevelsThenOneTrailerEachAndMissingBytesAreEmpty)
{
    std::string bytes(LevelsFileBytes, '\0');
    bytes[0] = 8;
    bytes[10] = 3;
    bytes[1000] = 5;
    bytes[19999] = 7;
    bytes[20000] = 1;
    bytes[20003] = 4;
    bytes[20004] = 9;
    bytes[20005] = 30;
    bytes[20006] = bytes[20007] = bytes[20009] = static_cast<char>(0xff);
    bytes[20008] = 1;
    bytes[20998] = 2;
    const LevelSet levels = ParseLevels(bytes);
    EXPECT_EQ(std::tuple(Cell(levels, 0, 0, 0), Cell(levels, 1, 0, 0), Cell(levels, 0, 0, 1), Cell(levels, 99, 9, 19)),
              std::tuple(8, 3, 5, 7));
    EXPECT_EQ(levels[0].quotas, (std::array<std::uint8_t, 4>{1, 0, 0, 4}));
    EXPECT_EQ(std::tuple(levels[0].speed, levels[0].seconds, levels[0].bonus, levels[99].bonus),
              std::tuple(9, 30, 1, 2));
    EXPECT_EQ(levels[2], LevelDef{});  // the ignored bytes went nowhere

    EXPECT_EQ(LoadLevels("/nonexistent/plumix2.bin"), LevelSet{});
    const LevelSet shortFile = ParseLevels(std::string(1001, '\x08'));
    EXPECT_EQ(std::tuple(Cell(shortFile, 0, 0, 1), Cell(shortFile, 0, 1, 1)), std::tuple(8, 0));
    EXPECT_EQ(ParseLevels(std::string(LevelsFileBytes + 500, '\x01'))[99].bonus, 1);
}

TEST(LevelSource, RoundTripsEveryByteEvenValuesOnlyAForeignFileHolds)
{
    LevelSource source = SourceForLevels(LevelSet{});
    source.levels[4].cells[0][19] = CellBrick;
    source.levels[4].cells[9][19] = 7;
    source.levels[4].cells[3][5] = 255;  // a value only a foreign file holds
    source.levels[4].quotas = {0, 2, 0, 1};
    source.levels[99] = {.quotas = {255, 0, 0, 0}, .speed = 10, .seconds = 200, .bonus = 1};
    const std::string text = FormatLevelSource(source);
    const LevelSourceParse parsed = ParseLevelSource(text);
    ASSERT_TRUE(parsed.source) << parsed.error;
    EXPECT_EQ(parsed.source->levels, source.levels);
    EXPECT_NE(text.find("#........7\n"), std::string::npos);
    EXPECT_NE(text.find("= 0 0 0 255 0 0 0 0 0 0\n"), std::string::npos);
}

TEST(LevelSource, RefusesAMalformedLevelNamingTheLevelAndTheLine)
{
    const std::string good = FormatLevelSource(SourceForLevels(LevelSet{}));
    // Each case breaks the nth `from` (from 0), in level 2: it starts on line 53,
    // as a level without notes takes 25 lines and a blank.
    const struct {
        std::string from, to;
        int nth;
        std::string error;
    } cases[] = {
        {"..........\n", ".........\n", 40, "level 2, line 54: row 0 has 9 cells, not 10"},
        {"..........\n", "....x.....\n", 40, "level 2, line 54: 'x' is not a cell"},
        {"speed 0\n", "speed 256\n", 2, "level 2, line 75: \"256\" is not a number 0..255"},
        {"quotas 0 0 0 0\n", "quotas 0 0 0\n", 2, "level 2, line 74: expected \"quotas\" and 4 numbers"},
        {"level 2:", "level 3:", 0, "level 2, line 53: expected \"level 2: title\""},
    };
    for (const auto& c : cases) {
        std::size_t at = good.find(c.from);
        for (int n = 0; n < c.nth; ++n) {
            at = good.find(c.from, at + 1);
        }
        std::string text = good;
        const LevelSourceParse parsed = ParseLevelSource(text.replace(at, c.from.size(), c.to));
        EXPECT_FALSE(parsed.source) << c.error;
        EXPECT_EQ(parsed.error.substr(0, c.error.size()), c.error);
    }
    EXPECT_EQ(ParseLevelSource(good.substr(0, good.size() / 2)).error.substr(0, 9), "level 50,");
    EXPECT_EQ(ParseLevelSource(good + "level 100: x\n").error, "level 99, line 2600: more than 100 levels");
}

} // namespace
} // namespace plumix
