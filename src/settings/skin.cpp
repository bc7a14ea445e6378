#include "settings/skin.h"

#include "base/file_io.h"
#include "base/game_folders.h"
#include "base/list_input.h"
#include "base/text_codec.h"

#include <algorithm>

namespace plumix {

SkinFileContents ParseSkin(std::string_view fileBytes)
{
    const std::string text = DecodeTextFile(fileBytes);
    ListReader reader(text);
    for (int skipped = 0; skipped < 3; ++skipped) {
        reader.ReadLine();
    }
    SkinFileContents skin;
    skin.status = SkinReadStatus::Ok;
    skin.pictureFolder = reader.ReadLine().value_or("");
    std::replace(skin.pictureFolder.begin(), skin.pictureFolder.end(), '\\', '/');

    const auto readColor = [&reader]() -> std::optional<Rgb> {
        std::array<std::optional<std::uint8_t>, 3> parts;
        for (auto& part : parts) {
            const auto number = reader.ReadNumber();
            if (number && std::in_range<std::uint8_t>(*number)) {
                part = static_cast<std::uint8_t>(*number);
            }
        }
        if (!parts[0] || !parts[1] || !parts[2]) {
            return std::nullopt;
        }
        return Rgb{*parts[0], *parts[1], *parts[2]};
    };
    skin.text = readColor();
    skin.back = readColor();
    if (!skin.text || !skin.back) {
        skin.status = SkinReadStatus::BadColors;
    }
    return skin;
}

SkinFileContents ReadSkinFile(const std::vector<std::filesystem::path>& dataFolders, const std::string& skinFile)
{
    const std::filesystem::path relative = std::filesystem::path(SkinsFolder) / skinFile;
    const auto bytes = ReadFileBytes(FolderHolding(dataFolders, relative) / relative);
    return bytes ? ParseSkin(*bytes) : SkinFileContents{};
}

void TakeSkinColors(const SkinFileContents& skin, SkinColors& skinColors, Settings& settings)
{
    const bool inUse = settings.colorsFromSkin;
    if (skin.text) {
        skinColors.text = *skin.text;
        if (inUse) {
            settings.textColor = *skin.text;
        }
    }
    if (skin.back) {
        skinColors.back = *skin.back;
        if (inUse) {
            settings.backColor = *skin.back;
        }
    }
}

std::string PicturePath(std::string_view pictureFolder, std::string_view fileName)
{
    std::string path(pictureFolder);
    path += '/';
    path += fileName;
    return path;
}

std::string DoubledPictureName(std::string_view fileName)
{
    const std::size_t dot = fileName.rfind('.');
    const std::size_t stem = dot == std::string_view::npos ? fileName.size() : dot;
    std::string name(fileName.substr(0, stem));
    name += "@2x";
    name += fileName.substr(stem);
    return name;
}

SkinPictureFile FindSkinPicture(const std::vector<std::filesystem::path>& dataFolders,
                                std::string_view pictureFolder, std::string_view fileName)
{
    const std::filesystem::path relative = PicturePath(pictureFolder, fileName);
    const std::filesystem::path folder = FolderHolding(dataFolders, relative);
    return {folder / relative, folder / PicturePath(pictureFolder, DoubledPictureName(fileName))};
}

std::vector<OfferedFile> ListSkinsIn(const std::vector<std::filesystem::path>& dataFolders)
{
    return ListOfferedFilesIn(dataFolders, SkinsFolder, ".psk", MaxSkinChoices);
}

} // namespace plumix
