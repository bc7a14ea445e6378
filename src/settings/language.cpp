#include "settings/language.h"

#include "base/file_io.h"
#include "base/list_input.h"
#include "base/text_codec.h"

namespace plumix {

void ReadLanguageEntries(TextTable& texts, std::string_view fileBytes)
{
    const std::string text = DecodeTextFile(fileBytes);
    ListReader reader(text);
    reader.ReadLine();  // display name
    reader.ReadLine();  // version
    while (!reader.AtEnd()) {
        const auto number = reader.ReadNumber();
        if (!number) {
            continue;
        }
        const std::string_view entry = reader.ReadLine().value_or("");
        if (*number >= 0 && *number < TextCount) {
            texts[static_cast<std::size_t>(*number)] = entry;
        }
    }
}

void ParseLanguage(TextTable& texts, std::string_view fileBytes)
{
    texts.fill({});
    ReadLanguageEntries(texts, fileBytes);
    FillDefaultTexts(texts);
}

void LoadLanguage(TextTable& texts, const std::string& languageFile, const std::filesystem::path& folder)
{
    const auto bytes = languageFile == BuiltInLanguage ? std::nullopt : ReadFileBytes(folder / languageFile);
    if (bytes) {
        ParseLanguage(texts, *bytes);
        return;
    }
    texts.fill({});
    FillDefaultTexts(texts);
}

std::vector<OfferedFile> ListLanguages(const std::vector<std::filesystem::path>& folders)
{
    std::vector<OfferedFile> choices{{std::string(BuiltInLanguageName), std::string(BuiltInLanguage)}};
    for (OfferedFile& file : ListOfferedFilesIn(folders, "", ".lag", MaxLanguageChoices - 1)) {
        choices.push_back(std::move(file));
    }
    return choices;
}

} // namespace plumix
