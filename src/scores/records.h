// The two hi-score tables of 100 places each, kept sorted by score with the
// best at place 1, and the place search and shift that a new entry uses.
#pragma once

#include "engine/game_mode.h"

#include <array>
#include <cstdint>
#include <string>

namespace plumix {

inline constexpr int RecordPlaces = 100;

struct Record {
    std::string player;  // UTF-8 inside the program; never holds a line break
    std::int32_t score = 0;
    std::int32_t lines1 = 0;  // Classic only: single, double, triple and
    std::int32_t lines2 = 0;  // four-row removals of the game
    std::int32_t lines3 = 0;
    std::int32_t lines4 = 0;
    std::string date;
    std::string comment;
    std::uint8_t level = 0;

    bool operator==(const Record&) const = default;
};

// Places 1..100; At(place) addresses them as the players count.
class RecordTable {
public:
    Record& At(int place) { return places_.at(static_cast<std::size_t>(place - 1)); }
    const Record& At(int place) const { return places_.at(static_cast<std::size_t>(place - 1)); }
    bool operator==(const RecordTable&) const = default;

private:
    std::array<Record, RecordPlaces> places_{};
};

struct RecordTables {
    RecordTable classic;
    RecordTable level;
    // A mode that is neither gives the Classic table, as the file has it.
    RecordTable& ForMode(GameMode mode) { return mode == GameMode::Levels ? level : classic; }
    const RecordTable& ForMode(GameMode mode) const { return mode == GameMode::Levels ? level : classic; }
};

// The place 1..100 that `score` earns: the first place whose score it beats
// strictly, so an equal score ranks below the entry already there. 0 = none.
int FindRecordPlace(const RecordTable& table, std::int64_t score);

// Moves places `place`..99 down by one (the old place 100 is lost), leaving
// `place` as it was for the new entry to overwrite.
void MakeRoomAt(RecordTable& table, int place);

// Takes the first `count` incoming places, place 1 first, each above the first
// entry it beats; an entry with an equal score standing above that one keeps
// it out, whoever its player is, so records coming back are not doubled. Each
// insertion drops the table's place 100. Synchronizing merges by this rule, and
// so does every save of the game's own file.
void MergeRecords(RecordTable& table, const RecordTable& incoming, int count);

} // namespace plumix
