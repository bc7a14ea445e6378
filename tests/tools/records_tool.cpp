// The record file seen from outside the game, for the tests with real processes.
// `write` replaces the file with tables of that one record, as a game that read
// it before the others' records came would write it without looking again.
#include "scores/records_file.h"
#include "base/file_io.h"

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    using namespace plumix;
    if (argc == 3 && std::strcmp(argv[1], "list") == 0) {
        const auto bytes = ReadFileBytes(argv[2]);
        if (!bytes) {
            std::fprintf(stderr, "records_tool: cannot read %s\n", argv[2]);
            return 1;
        }
        const RecordTables tables = ReadRecordFile(*bytes).tables;
        for (const auto& [name, table] : {std::pair{"classic", &tables.classic}, {"level", &tables.level}}) {
            for (int place = 1; place <= RecordPlaces; ++place) {
                if (const Record& record = table->At(place); record != Record{}) {
                    std::printf("%s %d %d %s\n", name, place, record.score, record.player.c_str());
                }
            }
        }
        return 0;
    }
    if (argc == 6 && std::strcmp(argv[1], "write") == 0) {
        RecordTables tables;
        tables.ForMode(std::strcmp(argv[3], "level") == 0 ? GameMode::Levels : GameMode::Classic).At(1) =
            {argv[4], std::stoi(argv[5]), 0, 0, 0, 0, "01.01.2026", "written aside", 0};
        return ReplaceFileContents(argv[2], RecordsToFileBytes(tables)) ? 0 : 1;
    }
    std::fputs("usage: records_tool list FILE (a line a record: table place score player)\n"
               "       records_tool write FILE classic|level PLAYER SCORE\n", stderr);
    return 2;
}
