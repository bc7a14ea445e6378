#include "settings/settings_file.h"

#include "base/file_io.h"
#include "base/list_input.h"
#include "base/text_codec.h"

#include <array>
#include <variant>

namespace plumix {

namespace {

// A byte of the file and the setting it holds: what each byte means, once.
struct Flag {
    bool* setting;
    bool onByte1;  // on only for 1; else on for anything but 2
};
using Name = std::string*;
using Byte = std::uint8_t*;
using Field = std::variant<Name, Byte, Flag, Rotation*>;

constexpr std::uint8_t FirstChoice = 1;
constexpr std::uint8_t SecondChoice = 2;

// The sixteen values in file order; one list serves reading and writing.
std::array<Field, 16> FileLayout(Settings& s)
{
    return {
        &s.languageFile,
        Flag{&s.play.showGrid, true},
        &s.spareSetting,
        Flag{&s.play.showNext, true},
        &s.play.rotation,
        Flag{&s.soundOn, false},  // effects play unless it is 2
        Flag{&s.musicOn, true},
        &s.skinFile,
        Flag{&s.colorsFromSkin, true},
        &s.textColor.red,
        &s.textColor.green,
        &s.textColor.blue,
        &s.backColor.red,
        &s.backColor.green,
        &s.backColor.blue,
        Flag{&s.play.moveDuringFall, false},  // only 2 keeps the keys still in a fast drop
    };
}

bool HoldsLineBreak(std::string_view name)
{
    return name.find_first_of("\r\n") != std::string_view::npos;
}

template <class... Ts> struct Overloaded : Ts... { using Ts::operator()...; };

} // namespace

Settings ParseSettings(std::string_view bytes)
{
    Settings settings;
    LineReader lines(bytes);
    for (const Field& field : FileLayout(settings)) {
        const auto line = lines.Next();
        if (!line) {
            break;
        }
        if (const auto* name = std::get_if<Name>(&field)) {
            **name = std::string(*line);
            continue;
        }
        // A line that is no number from 0 to 255 keeps the default.
        const auto value = ParseListNumberAs<std::uint8_t>(*line);
        if (!value) {
            continue;
        }
        std::visit(Overloaded{
                       [](Name) {},
                       [&](Byte byte) { *byte = *value; },
                       [&](Flag flag) { *flag.setting = flag.onByte1 ? *value == FirstChoice : *value != SecondChoice; },
                       // The game turns clockwise for 2 only.
                       [&](Rotation* rotation) {
                           *rotation = *value == SecondChoice ? Rotation::Clockwise : Rotation::Counterclockwise;
                       },
                   },
                   field);
    }
    return settings;
}

std::string SerializeSettings(const Settings& settings)
{
    Settings copy = settings, defaults;
    const auto fields = FileLayout(copy);
    const auto defaultFields = FileLayout(defaults);
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        std::visit(Overloaded{
                       // A name with a line break would shift every later line of
                       // the file; no file it could name is offered, so the
                       // default serves.
                       [&](Name name) { out += HoldsLineBreak(*name) ? *std::get<Name>(defaultFields[i]) : *name; },
                       [&](Byte byte) { out += FormatListNumber(*byte); },
                       [&](Flag flag) { out += FormatListNumber(*flag.setting ? FirstChoice : SecondChoice); },
                       [&](Rotation* rotation) {
                           out += FormatListNumber(*rotation == Rotation::Clockwise ? SecondChoice : FirstChoice);
                       },
                   },
                   fields[i]);
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
