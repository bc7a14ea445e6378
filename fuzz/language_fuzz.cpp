// A language file: any content gives a whole table of valid UTF-8 texts, one
// line each, with every built-in text present.
#include "harness.h"
#include "settings/language.h"
#include "base/text_codec.h"

using namespace plumix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const TextTable english = [] {
        TextTable t;
        FillDefaultTexts(t);
        return t;
    }();
    TextTable texts;
    ParseLanguage(texts, fuzz::Bytes(data, size));
    for (std::size_t n = 0; n < texts.size(); ++n) {
        fuzz::Require(IsValidUtf8(texts[n]), "every text is valid UTF-8");
        fuzz::Require(texts[n].find('\n') == std::string::npos, "a text is one line");
        fuzz::Require(english[n].empty() || !texts[n].empty(), "English fills every gap");
    }
    return 0;
}
