// The settings window's rules without the window.
#include "settings/settings_editor.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <map>

namespace plumix {
namespace {

using testing::ScratchFolder;
using testing::WriteFile;

struct Editing {
    ScratchFolder folder;
    Settings settings;
    TextTable texts{};
    SkinColors skinColors{{1, 1, 1}, {2, 2, 2}};
    std::map<std::string, int> effects;
    std::unique_ptr<SettingsEditor> editor;

    Editing()
    {
        WriteFile(folder / "Deutsch.lag", "Deutsch\r\n1.4\r\n100,Plumix spielen\r\n");
        WriteFile(folder / "Skins/Neon.psk", "Neon\r\n1.4\r\nx\r\nSkins\\Neon\r\n9\r\n9\r\n9\r\n8\r\n8\r\n8\r\n");
        WriteFile(folder / "Skins/Standart.psk", "Standard\r\n1.4\r\nx\r\nSkins\\Std\r\n1\r\n1\r\n1\r\n2\r\n2\r\n2\r\n");
        FillDefaultTexts(texts);
        const auto count = [this](const char* name) { return [this, name] { ++effects[name]; }; };
        editor = std::make_unique<SettingsEditor>(
            settings, texts, skinColors, std::vector{folder.Path()},
            SettingsEffects{count("language"), count("skin"), count("colors"), count("cells"), count("preview")});
    }
};

TEST(SettingsEditor, ChoicesTakeEffectAtOnceAFileGoneSinceTheListWasMadeLeavesItAndColoursAndOptionsEdit)
{
    Editing e;
    ASSERT_EQ(e.editor->Languages().size(), 2u);  // English and Deutsch
    EXPECT_EQ(e.editor->LanguageIndex(), 0);
    ASSERT_TRUE(e.editor->ChooseLanguage(1));
    EXPECT_EQ(std::tuple(e.settings.languageFile, e.texts[TextNewClassicButton], e.effects["language"]),
              std::tuple("Deutsch.lag", "Plumix spielen", 1));
    ASSERT_TRUE(e.editor->ChooseLanguage(0));
    EXPECT_EQ(e.texts[TextNewClassicButton], "New game Plumix");

    std::filesystem::remove(e.folder / "Deutsch.lag");
    EXPECT_FALSE(e.editor->ChooseLanguage(1));
    EXPECT_EQ(std::tuple(e.settings.languageFile, e.editor->Languages().size(), e.effects["language"]),
              std::tuple("inside", 1u, 2));

    ASSERT_EQ(e.editor->Skins().size(), 2u);
    EXPECT_EQ(e.editor->SkinIndex(), 1);  // Standart.psk, after Neon
    std::filesystem::remove(e.folder / "Skins/Neon.psk");
    EXPECT_FALSE(e.editor->ChooseSkin(0));
    EXPECT_EQ(std::tuple(e.settings.skinFile, e.editor->Skins().size(), e.effects["skin"]),
              std::tuple("Standart.psk", 1u, 0));
    EXPECT_TRUE(e.editor->ChooseSkin(0));
    EXPECT_EQ(e.effects["skin"], 1);

    // Colours from the skin or the player's own to edit.
    e.settings.textColor = {1, 1, 1};
    // Unticked, the skin's colours stay in use and become the player's.
    e.editor->SetColorsFromSkin(false);
    EXPECT_FALSE(e.settings.colorsFromSkin);
    e.editor->SetEdited(EditedColor::Back);
    e.editor->SetEditedComponent(2, 200);
    e.editor->SetEditedComponent(2, 200);  // no change, no repaint
    EXPECT_EQ(std::tuple(e.settings.backColor, e.settings.textColor, e.editor->EditedValue(), e.effects["colors"]),
              std::tuple(Rgb{100, 100, 200}, Rgb{1, 1, 1}, Rgb{100, 100, 200}, 2));
    // Ticked again, the skin's colours come back over the edit.
    e.editor->SetColorsFromSkin(true);
    EXPECT_EQ(std::pair(e.settings.textColor, e.settings.backColor), std::pair(Rgb{1, 1, 1}, Rgb{2, 2, 2}));

    // Each option shows what the game does and redraws what it changes.
    const std::pair<SettingsOption, const bool*> options[] = {
        {SettingsOption::Sound, &e.settings.soundOn},           {SettingsOption::Music, &e.settings.musicOn},
        {SettingsOption::MoveDuringFall, &e.settings.play.moveDuringFall},
        {SettingsOption::Grid, &e.settings.play.showGrid},      {SettingsOption::Next, &e.settings.play.showNext},
    };
    for (const auto& [option, setting] : options) {
        for (const bool on : {true, false}) {
            e.editor->Set(option, on);
            EXPECT_EQ(*setting, on);
            EXPECT_EQ(e.editor->IsOn(option), on);
        }
    }
    e.editor->Set(SettingsOption::Clockwise, false);
    EXPECT_EQ(e.settings.play.rotation, Rotation::Counterclockwise);
    EXPECT_FALSE(e.editor->IsOn(SettingsOption::Clockwise));
    EXPECT_EQ(std::pair(e.effects["cells"], e.effects["preview"]), std::pair(2, 2));
}

} // namespace
} // namespace plumix
