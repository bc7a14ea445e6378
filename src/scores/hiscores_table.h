// What the hi-scores window shows: twenty rows of one table from a scroll
// position, the texts of every column, the row colours and the window's
// captions. The window only puts these on its labels.
#pragma once

#include "scores/records.h"
#include "base/rgb.h"
#include "base/texts.h"
#include "engine/game_mode.h"

#include <array>
#include <string>

namespace plumix {

inline constexpr int HiScoresRows = 20;
// The scroll bar's value is the place in the top row: 1..81 shows 1..100.
inline constexpr int FirstTopPlace = 1;
inline constexpr int LastTopPlace = RecordPlaces - HiScoresRows + 1;
inline constexpr int ScrollSmallStep = 1;
inline constexpr int ScrollLargeStep = 25;

inline constexpr Rgb RowBack{0, 0, 0};
inline constexpr Rgb HighlightedRowBack{0, 0, 100};

// Columns in their order from left to right.
enum class HiScoresColumn { Number, Player, Score, Lines1, Lines2, Lines3, Lines4, Level, Date, Comment };
inline constexpr int HiScoresColumns = 10;

// The table the window opens on: level mode only right after a level-mode game.
GameMode TableForEndedMode(GameMode endedMode);

int ClampTopPlace(int topPlace);

struct HiScoresRow {
    int place = 0;
    std::array<std::string, HiScoresColumns> texts;  // indexed by HiScoresColumn
    Rgb color;  // the player's name colour, for every column of the row
    const std::string& Text(HiScoresColumn column) const { return texts[static_cast<std::size_t>(column)]; }
};

// Row `row` (0..19) with `topPlace` in row 0. The level-mode table keeps no
// line counters, so its four counter columns are empty; the comment is also
// the comment column's tooltip.
HiScoresRow HiScoresRowAt(const RecordTables& tables, GameMode table, int topPlace, int row);

struct HiScoresTexts {
    std::string title;
    std::array<std::string, HiScoresColumns> headers;  // indexed by HiScoresColumn
    std::string classicOption;
    std::string levelOption;
    std::string syncCaption;
    std::string syncTooltip;
    std::string closeCaption;
    std::string closeTooltip;
    std::string syncPassed;
    std::string syncFailed;
};

HiScoresTexts ComposeHiScoresTexts(const TextTable& texts);

} // namespace plumix
