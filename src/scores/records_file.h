// The record file "Records": both tables as 1400 lines of Windows-1251 text,
// scrambled byte by byte with a rolling XOR so that a text editor shows noise.
// The shared file of another installation has the same format.
#pragma once

#include "scores/records.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace plumix {

inline constexpr std::string_view RecordsFileName = "Records";
inline constexpr int RecordsFileLines = 1400;

// Shown with the critical-stop icon; fixed texts, not from the language table.
inline constexpr std::string_view RecordsLoadFailedMessage =
    "Ошибка при записи таблицы, проверте, что на диск можно записывать. "
    "Таблица рекордов не будет загружена";
inline constexpr std::string_view RecordsSaveFailedMessage =
    "Ошибка при записи таблицы, проверте, что на диск можно записывать. "
    "Таблица рекордов не будет сохранена";

// Applies the XOR in place: the byte at position p (from 1) with
// ((p - 1) mod 250) + 1. Applying it twice gives the bytes back.
void ScrambleRecordBytes(std::string& bytes);

// The plain text of both tables: 100 Classic places of nine lines, then 100
// level-mode places of five, each line ended by CR LF; names, dates and
// comments in Windows-1251 with any CR or LF turned into a blank.
std::string SerializeRecords(const RecordTables& tables);

// What the text as a record file will hold, back in UTF-8: a line break as a
// blank, a letter Windows-1251 lacks as its plain letter, '?' for a character
// with none. The entry window shows this, so that what the player sees during
// the run is what every later run and other installations see.
std::string StoredForm(std::string_view utf8);

// One reading of the plain text of the layout, for the game's own file and the
// shared file alike. Reading stops at the end of the text, at line 1400, or at
// the first number line that is not a whole number in its field's range; the
// place being read then is dropped and every place not read stays empty. A
// text field's stray CR (one not ending its line) is read as a blank, as a
// save would write it.
struct RecordsReading {
    RecordTables tables;
    int classicPlaces = 0;  // whole places read, from place 1
    int levelPlaces = 0;
    int linesRead = 0;      // lines taken, a place cut off or a bad line included
    bool stoppedOnBadLine = false;
    // The text holds nothing but whole places of the layout (and lines past
    // the 1400th): neither a bad line nor a place cut off.
    bool Whole() const;
};
RecordsReading ReadRecords(std::string_view plainText);

// The tables of ReadRecords.
RecordTables ParseRecords(std::string_view plainText);

// The same for the bytes as they lie on disk.
std::string RecordsToFileBytes(const RecordTables& tables);
RecordTables RecordsFromFileBytes(std::string_view fileBytes);

// Scrambles (or unscrambles) a file in place; a missing file is created empty.
// False when it cannot be created, read or written, or is larger than any
// record file could be.
bool ScrambleFile(const std::filesystem::path& path);

enum class RecordsFileResult {
    Ok,
    Failed,  // show the load or save message
};

// Fills `tables` from the file without changing it on disk. A missing file is
// created empty and gives empty tables without a message. A file that cannot
// be written (or created) gives Failed, for the message the game has always
// shown, but a readable one is loaded all the same: the save at the end of the
// run then keeps the player's records instead of replacing them with empty
// tables, should the file have become writable meanwhile.
RecordsFileResult LoadRecords(const std::filesystem::path& path, RecordTables& tables);

// Writes both tables; the new content replaces the old only once it is
// complete on disk. What the file holds that the tables lack is merged into
// them first, by the rule of synchronizing (MergeRecords): another program may
// have written records there since this game read it, and a save must not
// drop them. The places of a damaged file up to its first bad line are merged,
// as a start-up would read them; a file that cannot be read at all has nothing
// the game could ever show, and the tables are written all the same. On Ok the
// tables hold what was written; Failed leaves the file and the tables as they
// were.
RecordsFileResult SaveRecords(const std::filesystem::path& path, RecordTables& tables);

} // namespace plumix
