#include "base/offered_files.h"

#include "base/file_io.h"
#include "base/text_codec.h"

#include <algorithm>
#include <map>

namespace plumix {

namespace fs = std::filesystem;

namespace {

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EndsWithNoCase(std::string_view name, std::string_view suffix)
{
    return name.size() >= suffix.size() &&
           std::equal(suffix.begin(), suffix.end(), name.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                      [](char a, char b) { return AsciiLower(a) == AsciiLower(b); });
}

} // namespace

std::vector<OfferedFile> ListOfferedFiles(const fs::path& folder, std::string_view extension,
                                          std::size_t maxCount)
{
    return ListOfferedFilesIn({folder}, "", extension, maxCount);
}

std::vector<OfferedFile> ListOfferedFilesIn(const std::vector<fs::path>& folders, std::string_view subfolder,
                                            std::string_view extension, std::size_t maxCount)
{
    // Each name once, from the first folder that holds it.
    std::map<std::string, fs::path> names;
    for (const fs::path& base : folders) {
        const fs::path folder = subfolder.empty() ? base : base / subfolder;
        std::error_code ec;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            std::string name = it->path().filename().string();
            std::error_code statusError;
            if (EndsWithNoCase(name, extension) && name.find_first_of("\r\n") == std::string::npos &&
                it->is_regular_file(statusError)) {
                names.emplace(std::move(name), folder);
            }
        }
    }

    // The folder listing of the old platform came sorted by name; a fixed
    // order also keeps the list the same from one opening of the dialog to the next.
    std::vector<OfferedFile> offered;
    for (const auto& [name, folder] : names) {
        if (offered.size() >= maxCount) {
            break;
        }
        const auto bytes = ReadFileBytes(folder / name);
        if (!bytes) {
            continue;
        }
        const std::string text = DecodeTextFile(*bytes);
        LineReader lines(text);
        const std::string_view displayName = lines.Next().value_or("");
        if (lines.Next().value_or("") == FileFormatVersion) {
            offered.push_back({std::string(displayName), name});
        }
    }
    return offered;
}

} // namespace plumix
