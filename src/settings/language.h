// Language files ("*.lag"): a display name, the version line "1.4", then
// entries of a text number and its text. Their texts replace the built-in
// English ones, which fill every gap.
#pragma once

#include "base/offered_files.h"
#include "base/texts.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace plumix {

// The language setting that stands for the built-in English texts.
inline constexpr std::string_view BuiltInLanguage = "inside";

// Stores the entries of a language file's content (UTF-8 or Windows-1251, see
// DecodeTextFile) in `texts`, after the two header lines: an entry is a number
// 0..999 and then the rest of its line after a comma, or, when the number
// stands alone, the whole next line. A later entry wins; a line that is not a
// number is skipped, and a number outside 0..999 is skipped with its text.
void ReadLanguageEntries(TextTable& texts, std::string_view fileBytes);

// The whole table for a file's content: its entries, English in every slot
// they leave empty.
void ParseLanguage(TextTable& texts, std::string_view fileBytes);

// Builds the whole table for the language setting: "inside" (exactly) gives the
// English texts, anything else names a file in `folder`; a file that is
// missing or unreadable gives English as well.
void LoadLanguage(TextTable& texts, const std::string& languageFile,
                  const std::filesystem::path& folder);

inline constexpr std::size_t MaxLanguageChoices = 101;
inline constexpr std::string_view BuiltInLanguageName = "English";

// "English" for the built-in texts, then each "*.lag" file of `folders` whose
// second line is exactly "1.4", under the name on its first line, each file
// name once (the first folder's); at most 101 entries in all.
std::vector<OfferedFile> ListLanguages(const std::vector<std::filesystem::path>& folders);

} // namespace plumix
