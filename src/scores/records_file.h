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
// shared file alike. Every place has its fixed lines, so a bad line (a number
// that is not a whole number in its field's range) costs only its own place,
// and the places after it are read; the places read move up over a lost one,
// so each table stays in order. A place cut off by the end of the text is
// lost too; lines past the 1400th are ignored. A text field's stray CR (one
// not ending its line) is read as a blank, as a save would write it.
struct RecordsReading {
    RecordTables tables;
    int classicPlaces = 0;  // places read, from place 1
    int levelPlaces = 0;
    int placesLost = 0;     // bad or cut off
    bool Whole() const { return placesLost == 0; }
    bool Empty() const { return classicPlaces == 0 && levelPlaces == 0; }
};
RecordsReading ReadRecords(std::string_view plainText);
// The same for the bytes as they lie on disk.
RecordsReading ReadRecordFile(std::string_view fileBytes);

// The bytes of both tables as they are to lie on disk.
std::string RecordsToFileBytes(const RecordTables& tables);

// Merges what a record file holds into `tables`, by the rule of synchronizing
// (MergeRecords); the save of the game's own file and synchronizing both take
// another program's records this way.
RecordsReading MergeRecordFile(std::string_view fileBytes, RecordTables& tables);

// What a load, a save or a synchronizing found and did.
struct RecordsFileStatus {
    bool ok = true;          // false: the file was left as it was
    int placesLost = 0;      // places of a damaged file that could not be read
    // The damaged file as it was, copied beside it now; empty when nothing was
    // damaged, or when an earlier run kept the same bytes already.
    std::filesystem::path keptCopy;
    // Damaged, but no copy could be kept: the file is not written over.
    bool copyFailed = false;
};

// What the player is told of a damaged file, once, when its copy is made (or
// could not be); empty when there is nothing to tell.
std::string DamagedRecordsMessage(const std::filesystem::path& file, const RecordsFileStatus& status);

// Fills `tables` from the file without changing it on disk. A missing file is
// created empty and gives empty tables. A damaged file gives the places that
// could be read, and a copy of it is kept (see RecordsFileStatus). A file that
// could not be replaced at the end of the run (read-only, or in a folder that
// takes no new file) gives ok false, for the message the game has always
// shown, but a readable one is loaded all the same, so that a save that works
// after all keeps the player's records.
RecordsFileStatus LoadRecords(const std::filesystem::path& path, RecordTables& tables);

// How MergeIntoFile treats the file it finds.
enum class MergeTarget {
    OwnFile,     // "Records": a missing file is written
    SharedFile,  // another installation's: it must exist and hold records
};

// Merges the file's records into `tables` (MergeRecordFile), then replaces the
// file whole with the merge, so a crash or a full disk leaves the old file or
// the new one. A file that exists but cannot be read, is larger than any record
// file, or (shared) holds no record at all is left as it is and gives ok false;
// so does a damaged one of which no copy could be kept. On ok, `tables` hold
// what was written; otherwise they are unchanged.
RecordsFileStatus MergeIntoFile(const std::filesystem::path& file, RecordTables& tables, MergeTarget target);

// Writes both tables to the game's own file: MergeIntoFile, since another
// program may have written records there since this game read it.
RecordsFileStatus SaveRecords(const std::filesystem::path& path, RecordTables& tables);

} // namespace plumix
