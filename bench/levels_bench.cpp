// The level mode's start-up cost: reading and unpacking the shipped levels
// file, which start-up does once before the main window shows.
#include "levels/levels_file.h"

#include <benchmark/benchmark.h>

#include <string>

namespace plumix {
namespace {

void BM_LoadShippedLevels(benchmark::State& st)
{
    const std::string path = std::string(PLUMIX_ASSETS) + "/" + LevelsFileName;
    for (auto _ : st) {
        LevelSet levels = LoadLevels(path);
        benchmark::DoNotOptimize(levels);
    }
}
BENCHMARK(BM_LoadShippedLevels)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace plumix
