// Skin files ("Skins/*.psk"): a display name, the version line, a free line,
// the folder of the fourteen pictures, and the text and back colours.
#pragma once

#include "base/offered_files.h"
#include "settings/settings.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plumix {

inline constexpr std::string_view SkinsFolder = "Skins";

// The colours of the last skin loaded, kept so the settings dialog can return
// to them. Until a skin gives its own they are the game's default colours.
struct SkinColors {
    Rgb text = Settings{}.textColor;
    Rgb back = Settings{}.backColor;
    bool operator==(const SkinColors&) const = default;
};

enum class SkinReadStatus {
    Ok,
    Missing,    // no file, or not readable: nothing was read
    BadColors,  // the folder was read, but not all six colour numbers 0..255
};

struct SkinFileContents {
    SkinReadStatus status = SkinReadStatus::Missing;
    std::string pictureFolder;  // with '/' for every '\' of the file
    // Each colour that came with three good numbers.
    std::optional<Rgb> text;
    std::optional<Rgb> back;
};

// Reads lines 4 to 10 of a skin file's content; the colours are six numbers by
// the list-input rule, so "255, 255, 255" on one line gives a whole colour.
SkinFileContents ParseSkin(std::string_view fileBytes);
// "Skins/<skinFile>" of the first of `dataFolders` that holds it.
SkinFileContents ReadSkinFile(const std::vector<std::filesystem::path>& dataFolders, const std::string& skinFile);

// Takes the colours the skin gave into `skinColors`, and into the colours in
// use when the settings ask for the skin's colours. A colour the file did not
// give keeps its previous value in both.
void TakeSkinColors(const SkinFileContents& skin, SkinColors& skinColors, Settings& settings);

// The fourteen pictures of a skin's picture folder, in the order they are
// loaded: the background, block1..7, the brick, the row-clear flash, the
// grid, the close and minimise buttons and the menu buttons' strip.
inline constexpr std::array<std::string_view, 14> SkinPictureFiles = {
    "background.jpg", "block1.gif", "block2.gif", "block3.gif", "block4.gif", "block5.gif", "block6.gif",
    "block7.gif",     "brick.gif",  "clear.gif",  "grid.gif",   "close.gif",  "mini.gif",   "button.gif",
};

// The picture folder, a '/' and the file name. A relative folder is taken
// from the working folder, as the skin file means it.
std::string PicturePath(std::string_view pictureFolder, std::string_view fileName);
// The name of a picture's version drawn at twice the resolution, for screens
// the desktop scales: "block1.gif" -> "block1@2x.gif".
std::string DoubledPictureName(std::string_view fileName);

struct SkinPictureFile {
    std::filesystem::path normal;
    std::filesystem::path doubled;  // may not exist: then the normal one is scaled
};
// Where a skin's picture is read: below the first of `dataFolders` that holds
// it, wherever the skin file itself lies, so that a player who copies a skin
// to change one picture still sees the installed others. Its doubled version
// is the one beside it: a picture the player changed is never shown as the
// installed picture's doubled version.
SkinPictureFile FindSkinPicture(const std::vector<std::filesystem::path>& dataFolders,
                                std::string_view pictureFolder, std::string_view fileName);

// The skins of the "Skins" folders of `dataFolders`, each file name once, at
// most 101 (the list's positions 0 to 100).
inline constexpr std::size_t MaxSkinChoices = 101;
std::vector<OfferedFile> ListSkinsIn(const std::vector<std::filesystem::path>& dataFolders);

} // namespace plumix
