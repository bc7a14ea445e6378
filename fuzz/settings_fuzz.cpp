// plumix.ini: any content gives settings, and what a save writes reads back
// as the same settings.
#include "harness.h"
#include "settings/settings_file.h"

using namespace plumix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Settings read = ParseSettings(fuzz::Bytes(data, size));
    const std::string written = SerializeSettings(read);
    Settings expected = read;
    // The writer puts the default in place of a name it cannot store on one line.
    for (auto [name, fallback] : {std::pair{&expected.languageFile, Settings{}.languageFile},
                                  std::pair{&expected.skinFile, Settings{}.skinFile}}) {
        if (name->find_first_of("\r\n") != std::string::npos) {
            *name = fallback;
        }
    }
    fuzz::Require(ParseSettings(written) == expected, "a saved plumix.ini reads back as it was saved");
    return 0;
}
