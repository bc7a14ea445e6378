#include "settings/settings_editor.h"

#include "base/file_io.h"
#include "base/game_folders.h"
#include "settings/language.h"

#include <algorithm>

namespace plumix {

namespace {

int PositionOf(const std::vector<OfferedFile>& files, const std::string& chosen)
{
    const auto it = std::find_if(files.begin(), files.end(), [&](const OfferedFile& f) { return f.fileName == chosen; });
    return it == files.end() ? -1 : static_cast<int>(it - files.begin());
}

void Call(const std::function<void()>& effect)
{
    if (effect) {
        effect();
    }
}

} // namespace

std::uint8_t& Component(Rgb& color, int component)
{
    return component == 0 ? color.red : component == 1 ? color.green : color.blue;
}

std::uint8_t Component(const Rgb& color, int component)
{
    return component == 0 ? color.red : component == 1 ? color.green : color.blue;
}

SettingsEditor::SettingsEditor(Settings& settings, TextTable& texts, SkinColors& skinColors,
                               std::vector<std::filesystem::path> dataFolders, SettingsEffects effects)
    : settings_(settings),
      texts_(texts),
      skinColors_(skinColors),
      dataFolders_(std::move(dataFolders)),
      effects_(std::move(effects)),
      languages_(ListLanguages(dataFolders_)),
      skins_(ListSkinsIn(dataFolders_))
{
}

int SettingsEditor::LanguageIndex() const
{
    return PositionOf(languages_, settings_.languageFile);
}

int SettingsEditor::SkinIndex() const
{
    return PositionOf(skins_, settings_.skinFile);
}

bool SettingsEditor::ChooseLanguage(int index)
{
    if (index < 0 || index >= static_cast<int>(languages_.size())) {
        return true;
    }
    const std::string file = languages_[static_cast<std::size_t>(index)].fileName;
    // A file gone or unreadable since the list was made would give English
    // under another language's name.
    const std::filesystem::path folder = FolderHolding(dataFolders_, file);
    if (file != BuiltInLanguage && !ReadFileBytes(folder / file)) {
        languages_.erase(languages_.begin() + index);
        return false;
    }
    settings_.languageFile = file;
    LoadLanguage(texts_, settings_.languageFile, folder);
    Call(effects_.languageChanged);
    return true;
}

bool SettingsEditor::ChooseSkin(int index)
{
    if (index < 0 || index >= static_cast<int>(skins_.size())) {
        return true;
    }
    const std::string file = skins_[static_cast<std::size_t>(index)].fileName;
    if (ReadSkinFile(dataFolders_, file).status == SkinReadStatus::Missing) {
        skins_.erase(skins_.begin() + index);
        return false;
    }
    settings_.skinFile = file;
    Call(effects_.skinChanged);
    return true;
}

void SettingsEditor::SetColorsFromSkin(bool fromSkin)
{
    settings_.colorsFromSkin = fromSkin;
    if (fromSkin) {
        settings_.textColor = skinColors_.text;
        settings_.backColor = skinColors_.back;
    }
    Call(effects_.colorsChanged);
}

Rgb SettingsEditor::EditedValue() const
{
    return edited_ == EditedColor::Back ? settings_.backColor : settings_.textColor;
}

void SettingsEditor::SetEditedComponent(int component, std::uint8_t value)
{
    Rgb& color = edited_ == EditedColor::Back ? settings_.backColor : settings_.textColor;
    if (Component(color, component) != value) {
        Component(color, component) = value;
        Call(effects_.colorsChanged);
    }
}

bool SettingsEditor::IsOn(SettingsOption option) const
{
    switch (option) {
    case SettingsOption::Sound: return settings_.soundOn;
    case SettingsOption::Music: return settings_.musicOn;
    case SettingsOption::Clockwise: return settings_.play.rotation == Rotation::Clockwise;
    case SettingsOption::MoveDuringFall: return settings_.play.moveDuringFall;
    case SettingsOption::Grid: return settings_.play.showGrid;
    case SettingsOption::Next: return settings_.play.showNext;
    }
    return false;
}

void SettingsEditor::Set(SettingsOption option, bool on)
{
    switch (option) {
    case SettingsOption::Sound: settings_.soundOn = on; break;
    case SettingsOption::Music: settings_.musicOn = on; break;
    case SettingsOption::Clockwise: settings_.play.rotation = on ? Rotation::Clockwise : Rotation::Counterclockwise; break;
    case SettingsOption::MoveDuringFall: settings_.play.moveDuringFall = on; break;
    case SettingsOption::Grid:
        settings_.play.showGrid = on;
        Call(effects_.cellsChanged);
        break;
    case SettingsOption::Next:
        settings_.play.showNext = on;
        Call(effects_.previewChanged);
        break;
    }
}

} // namespace plumix
