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

MainWindowTexts ComposeMainWindowTexts(const TextTable& texts, bool paused)
{
    const auto text = [&](int number) { return TextOf(texts, number); };
    MainWindowTexts out;
    out.buttonCaptions = {text(100), text(101), text(paused ? 107 : 106), text(103), text(104), text(105)};
    out.buttonTooltips = {
        text(110) + " (F2)",
        text(111) + " (F3)",
        text(112) + " (" + text(127) + ")",
        text(113) + "... (F5)",
        text(114) + "... (F8)",
        text(115) + "...",
    };
    out.closeTooltip = text(117) + " (Esc)";
    out.minimizeTooltip = text(116);
    out.labels = {text(121), text(126), text(122), text(123), text(124), text(125), text(120)};
    if (paused) {
        out.pausedStatus = text(102);
    }
    return out;
}

std::vector<OfferedFile> ListLanguages(const std::filesystem::path& folder)
{
    return ListLanguages(std::vector<std::filesystem::path>{folder});
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
