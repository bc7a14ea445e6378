// The levels file: any bytes give 100 levels, and packing them gives a file
// that reads back the same. (Their source form has a harness of its own: any
// cell byte can be written there, so it covers what unpacking a file writes.)
#include "harness.h"
#include "levels/levels_file.h"

using namespace plumix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const LevelSet levels = ParseLevels(fuzz::Bytes(data, size));
    const std::string packed = PackLevels(levels);
    fuzz::Require(packed.size() == LevelsFileBytes, "a packed file has the file's size");
    fuzz::Require(ParseLevels(packed) == levels, "a packed file reads back the same levels");
    return 0;
}
