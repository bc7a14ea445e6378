// The record tables as a game's end meets them: the place the ended game
// earns in its mode's table, room made there, and the entry that fills it
// with the player's name and comment.
#pragma once

#include "base/texts.h"
#include "engine/game.h"
#include "scores/records.h"

#include <string>
#include <string_view>

namespace plumix {

// Shown when a game ends without a place in its record table.
inline constexpr std::string_view GameOverText =
    "         G   A   M   E       O   V   E   R         ";

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
Record EnteredRecord(const GameResult& ended, const TypedEntry& typed);

class RecordBook {
public:
    explicit RecordBook(RecordTables& tables) : tables_(tables) {}

    // The place 1..100 that `ended` earns in its mode's table, with room made
    // there for its entry; 0 when it earns none. Ties rank below.
    int Enter(const GameResult& ended);
    // Fills the place the last Enter made room at (nothing when it made none)
    // and remembers the name for the next entry of the run.
    void Fill(const TypedEntry& typed);

    // The mode of the game that ended last, None before any: the hi-scores
    // window opens on its table.
    GameMode LastEndedMode() const { return ended_.mode; }
    const GameResult& LastEnded() const { return ended_; }
    // The name typed in the run's last entry, offered to the next one.
    const std::string& LastPlayerName() const { return lastPlayerName_; }

    RecordTables& Tables() { return tables_; }
    const RecordTables& Tables() const { return tables_; }

private:
    RecordTables& tables_;
    GameResult ended_;
    int place_ = 0;
    std::string lastPlayerName_;
};

} // namespace plumix
