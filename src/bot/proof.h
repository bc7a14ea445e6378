// The levels' difficulty measured by the automatic player: every level played
// over many seeds on all processor cores, summed up per level, printed as a
// table, and held against the difficulty curve the game promises.
#pragma once

#include "levels/levels_file.h"

#include <cstdint>
#include <string>
#include <vector>

namespace plumix::bot {

struct LevelSummary {
    int level = 0;
    int plays = 0;
    int wins = 0;
    double medianFigures = 0.0;  // over the won plays
    double medianSeconds = 0.0;  // over the won plays
    double WinRate() const { return plays > 0 ? 100.0 * wins / plays : 0.0; }
};

// Plays each of `levels` (numbers into `set`) with seeds 1..seeds on
// `threads` threads. With `untilWon`, a level stops at its first win.
std::vector<LevelSummary> MeasureLevels(const LevelSet& set, const std::vector<int>& levels, int seeds,
                                        int threads, bool untilWon = false);

// A Markdown table: level, tasks, speed, seconds, bonus, win rate, medians.
std::string FormatTable(const LevelSet& set, const std::vector<LevelSummary>& summaries);

// Where the measured curve breaks the promise, one line each; empty when it
// holds. Group rules apply only to groups measured in full.
std::vector<std::string> CheckCurve(const std::vector<LevelSummary>& summaries);

// `readme` with the text between the two marker lines replaced by `table`;
// the markers are added at the end when missing.
std::string WithTable(const std::string& readme, const std::string& table);

inline constexpr const char* TableBeginMarker = "<!-- difficulty table: begin -->";
inline constexpr const char* TableEndMarker = "<!-- difficulty table: end -->";

} // namespace plumix::bot
