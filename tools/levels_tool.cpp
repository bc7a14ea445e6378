// plumix-levels: packs the levels' source form into the game's levels file and
// unpacks any levels file back into the source form.
//
//   plumix-levels pack SOURCE FILE            levels.txt -> plumix2.bin
//   plumix-levels unpack FILE [SOURCE]        plumix2.bin -> text on stdout,
//                                             titles and notes taken from SOURCE
#include "levels/level_source.h"
#include "levels/levels_file.h"
#include "base/file_io.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>

namespace {

using namespace plumix;

std::optional<LevelSource> ReadSource(const char* path)
{
    LevelSourceParse parsed = ReadLevelSource(path);
    if (!parsed.source) {
        std::cerr << parsed.error << "\n";
    }
    return std::move(parsed.source);
}

int Pack(const char* sourcePath, const char* filePath)
{
    const auto source = ReadSource(sourcePath);
    if (!source) {
        return 1;
    }
    if (!ReplaceFileContents(filePath, PackLevels(source->levels))) {
        std::cerr << filePath << ": cannot be written\n";
        return 1;
    }
    return 0;
}

int Unpack(const char* filePath, const char* sourcePath)
{
    const auto bytes = ReadFileBytes(filePath, LevelsFileBytes);
    if (!bytes) {
        std::cerr << filePath << ": cannot be read\n";
        return 1;
    }
    if (bytes->size() < LevelsFileBytes) {
        std::cerr << filePath << ": " << bytes->size() << " bytes, not " << LevelsFileBytes
                  << "; the missing bytes read as 0\n";
    }
    std::optional<LevelSource> named;
    if (sourcePath != nullptr) {
        named = ReadSource(sourcePath);
        if (!named) {
            return 1;
        }
    }
    std::cout << FormatLevelSource(SourceForLevels(ParseLevels(*bytes), named ? &*named : nullptr));
    return 0;
}

void Usage()
{
    std::cerr << "usage: plumix-levels pack SOURCE FILE\n"
                 "       plumix-levels unpack FILE [SOURCE]\n";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "pack") == 0) {
        return Pack(argv[2], argv[3]);
    }
    if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "unpack") == 0) {
        return Unpack(argv[2], argc == 4 ? argv[3] : nullptr);
    }
    Usage();
    return 2;
}
