// plumix-texts: the game's texts in the form of a language file (UTF-8, CR LF).
//
//   plumix-texts             the built-in English table: the start of a new language
//   plumix-texts FILE.lag    what the game reads from FILE: line 1 the name the
//                            settings window lists it under (empty when it would not
//                            offer the file), line 2 the version, then every text
//                            the file gives, one "number,text" line each
//
// tools/check_languages.py compares both with what the files and the notes say, so
// that it checks the game's own reading rather than a copy of it.
#include "base/file_io.h"
#include "base/offered_files.h"
#include "settings/language.h"

#include <filesystem>
#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    using namespace plumix;
    if (argc > 2) {
        std::cerr << "usage: plumix-texts [FILE.lag]\n";
        return 2;
    }
    TextTable texts{};
    std::string name = "English";
    if (argc == 1) {
        FillDefaultTexts(texts);
    } else {
        const std::filesystem::path path = std::filesystem::absolute(argv[1]);
        const auto bytes = ReadFileBytes(path);
        if (!bytes) {
            std::cerr << path.string() << ": cannot be read\n";
            return 1;
        }
        ReadLanguageEntries(texts, *bytes);
        name.clear();
        for (const OfferedFile& offered : ListOfferedFiles(path.parent_path(), ".lag")) {
            if (offered.fileName == path.filename().string()) {
                name = offered.displayName;
            }
        }
    }
    std::cout << name << "\r\n" << FileFormatVersion << "\r\n";
    for (int number = 0; number < TextCount; ++number) {
        if (!texts[static_cast<std::size_t>(number)].empty()) {
            std::cout << number << ',' << texts[static_cast<std::size_t>(number)] << "\r\n";
        }
    }
    return 0;
}
