// The new-record entry: what its window says, and how the place that the game
// over made room at is filled once the player has typed a name and a comment.
#pragma once

#include "engine/game.h"
#include "scores/records.h"
#include "base/texts.h"

#include <string>
#include <string_view>

namespace plumix {

// "Congratulations! You are 5th. Enter your name:" with the built-in texts.
// There is no ordinal rule: every place is followed by the same text.
std::string RecordEntryPrompt(const TextTable& texts, int place);
// "Your comment about game:".
std::string RecordCommentPrompt(const TextTable& texts);

// A table field holds one line: a pasted line break becomes a blank.
std::string SingleLine(std::string_view text);

// What the entry window hands over when it closes, however it is closed.
struct TypedEntry {
    std::string name;
    std::string comment;
    std::string date;  // today in the system's short format, never parsed
};

// The record of the ended game: score, level and (Classic only) the four line
// counters from the game, the rest from what was typed. Numbers that could not
// be stored are clamped to the field's range.
Record EnteredRecord(int endedMode, const GameState& ended, const TypedEntry& typed);

// Fills place `place` of the table of `endedMode` (1 Classic, 2 level mode;
// any other mode writes nothing) and remembers the name for the next entry of
// the run. The table has made room at `place` already.
void FinishRecordEntry(RecordTables& tables, std::string& lastPlayerName, int endedMode, int place,
                       const GameState& ended, const TypedEntry& typed);

} // namespace plumix
