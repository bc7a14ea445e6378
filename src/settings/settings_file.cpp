#include "settings/settings_file.h"

#include "base/file_io.h"
#include "base/list_input.h"
#include "base/text_codec.h"

#include <array>
#include <variant>

namespace plumix {

namespace {

// The sixteen values in file order; one list serves reading and writing.
template <typename S>
auto FileLayout(S& s)
{
    using Name = decltype(&s.languageFile);
    using Byte = decltype(&s.play.showGrid);
    return std::array<std::variant<Name, Byte>, 16>{
        &s.languageFile,    &s.play.showGrid,        &s.spareSetting,    &s.play.showNext,
        &s.play.rotateDir,       &s.soundOn,         &s.musicOn,         &s.skinFile,
        &s.colorsFromSkin,  &s.textColor.red,   &s.textColor.green, &s.textColor.blue,
        &s.backColor.red,   &s.backColor.green, &s.backColor.blue,  &s.play.moveDuringFall,
    };
}

bool HoldsLineBreak(std::string_view name)
{
    return name.find_first_of("\r\n") != std::string_view::npos;
}

} // namespace

Settings ParseSettings(std::string_view bytes)
{
    Settings settings;
    LineReader lines(bytes);
    for (const auto& field : FileLayout(settings)) {
        const auto line = lines.Next();
        if (!line) {
            break;
        }
        if (const auto* name = std::get_if<0>(&field)) {
            **name = std::string(*line);
        } else if (const auto value = ParseListNumberAs<std::uint8_t>(*line)) {
            *std::get<1>(field) = *value;
        }
    }
    return settings;
}

std::string SerializeSettings(const Settings& settings)
{
    static const Settings defaults;
    const auto defaultFields = FileLayout(defaults);
    const auto fields = FileLayout(settings);
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (const auto* name = std::get_if<0>(&fields[i])) {
            // A name with a line break would shift every later line of the
            // file; no file it could name is offered, so the default serves.
            out += HoldsLineBreak(**name) ? *std::get<0>(defaultFields[i]) : **name;
        } else {
            out += FormatListNumber(*std::get<1>(fields[i]));
        }
        out += "\r\n";
    }
    return out;
}

Settings LoadSettings(const std::filesystem::path& path)
{
    EnsureWritableFile(path);
    const auto bytes = ReadFileBytes(path);
    return bytes ? ParseSettings(*bytes) : Settings{};
}

bool SaveSettings(const std::filesystem::path& path, const Settings& settings)
{
    return ReplaceFileContents(path, SerializeSettings(settings));
}

} // namespace plumix
