// The levels' source form: any text is parsed or refused with a reason, and a
// parsed source written out again parses to exactly the same source.
#include "harness.h"
#include "levels/level_source.h"

using namespace plumix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const LevelSourceParse parsed = ParseLevelSource(fuzz::Bytes(data, size));
    if (!parsed.source) {
        fuzz::Require(!parsed.error.empty(), "a refused text says why");
        return 0;
    }
    const std::string text = FormatLevelSource(*parsed.source);
    const LevelSourceParse again = ParseLevelSource(text);
    fuzz::Require(again.source.has_value(), "a written source parses");
    fuzz::Require(again.source->levels == parsed.source->levels && again.source->titles == parsed.source->titles &&
                      again.source->notes == parsed.source->notes,
                  "a written source parses to the same source");
    fuzz::Require(FormatLevelSource(*again.source) == text, "writing is stable");
    return 0;
}
