// The settings window's rules without the window: the languages and skins it
// offers and what choosing one does, the colours taken from the skin or
// edited, and the options. Every change takes effect at once, through the
// effects the rest of the game gives; nothing is written here (the settings
// file is saved when the game ends).
#pragma once

#include "base/offered_files.h"
#include "base/texts.h"
#include "settings/settings.h"
#include "settings/skin.h"

#include <filesystem>
#include <functional>
#include <vector>

namespace plumix {

// What the rest of the game redoes when a setting changes.
struct SettingsEffects {
    std::function<void()> languageChanged;  // the windows' texts
    std::function<void()> skinChanged;      // pictures, colours, board and buttons
    std::function<void()> colorsChanged;    // the windows' colours
    std::function<void()> cellsChanged;     // the grid: board, preview, figure
    std::function<void()> previewChanged;   // the preview alone
};

// The settings the window shows as check boxes and option buttons.
enum class SettingsOption { Sound, Music, Clockwise, MoveDuringFall, Grid, Next };

// The two colours the scroll bars edit.
enum class EditedColor { Text = 0, Back = 1 };

class SettingsEditor {
public:
    // `dataFolders` hold the "*.lag" files and "Skins" folders, the first
    // holding a file giving it. The other arguments must outlive the editor.
    SettingsEditor(Settings& settings, TextTable& texts, SkinColors& skinColors,
                   std::vector<std::filesystem::path> dataFolders, SettingsEffects effects);

    const Settings& Current() const { return settings_; }
    const TextTable& Texts() const { return texts_; }

    const std::vector<OfferedFile>& Languages() const { return languages_; }
    const std::vector<OfferedFile>& Skins() const { return skins_; }
    // The position of the file in use in its list; -1 when it is not listed.
    int LanguageIndex() const;
    int SkinIndex() const;
    // The player chose entry `index`. A file gone or unreadable since the list
    // was made changes nothing but leaves the list: false.
    bool ChooseLanguage(int index);
    bool ChooseSkin(int index);

    bool ColorsFromSkin() const { return settings_.colorsFromSkin; }
    // Ticked, the skin's colours are in use; unticked, they stay in use and
    // become the player's to edit.
    void SetColorsFromSkin(bool fromSkin);
    void SetEdited(EditedColor which) { edited_ = which; }
    EditedColor Edited() const { return edited_; }
    Rgb EditedValue() const;
    // One of red, green and blue (0..2) of the edited colour.
    void SetEditedComponent(int component, std::uint8_t value);

    bool IsOn(SettingsOption option) const;
    void Set(SettingsOption option, bool on);

private:
    Settings& settings_;
    TextTable& texts_;
    SkinColors& skinColors_;
    std::vector<std::filesystem::path> dataFolders_;
    SettingsEffects effects_;
    std::vector<OfferedFile> languages_;
    std::vector<OfferedFile> skins_;
    EditedColor edited_ = EditedColor::Text;
};

// Red, green or blue (0..2) of a colour.
std::uint8_t& Component(Rgb& color, int component);
std::uint8_t Component(const Rgb& color, int component);

} // namespace plumix
