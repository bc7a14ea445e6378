// The settings window (the old Form7): language, skin, colours, sound and
// the game's options. Every change takes effect at once, behind the window;
// nothing is written here (the settings file is saved when the game ends).
#pragma once

#include "base/offered_files.h"
#include "settings/settings.h"
#include "settings/skin.h"
#include "base/texts.h"

#include <QDialog>

#include <array>
#include <filesystem>
#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace plumix {

// What the rest of the game redoes when a setting changes.
struct SettingsEffects {
    std::function<void()> languageChanged;  // the main window's texts
    std::function<void()> skinChanged;      // pictures, colours, board and buttons
    std::function<void()> colorsChanged;    // the main window's colours
    std::function<void()> cellsChanged;     // the grid: board, preview, figure
    std::function<void()> previewChanged;   // the preview alone
};

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    // `dataFolders` hold the "*.lag" files and "Skins" folders, the first
    // holding a file giving it.
    SettingsDialog(Settings& settings, TextTable& texts, SkinColors& skinColors,
                   std::vector<std::filesystem::path> dataFolders, SettingsEffects effects, QWidget* owner);

    QComboBox* LanguageList() const { return languages_; }
    QComboBox* SkinList() const { return skins_; }
    QCheckBox* ColorsFromSkinBox() const { return colorsFromSkin_; }
    QListWidget* ColorChoice() const { return colorChoice_; }
    QScrollBar* ColorBar(int i) const { return bars_.at(static_cast<std::size_t>(i)); }
    QLabel* ColorNumber(int i) const { return numbers_.at(static_cast<std::size_t>(i)); }
    QCheckBox* SoundBox() const { return sound_; }
    QCheckBox* MusicBox() const { return music_; }
    QRadioButton* Clockwise() const { return clockwise_; }
    QRadioButton* Counterclockwise() const { return counterclockwise_; }
    QCheckBox* MoveDuringFallBox() const { return moveDuringFall_; }
    QCheckBox* GridBox() const { return grid_; }
    QCheckBox* NextBox() const { return next_; }
    QPushButton* CloseButton() const { return close_; }
    QGroupBox* Frame(int i) const { return frames_.at(static_cast<std::size_t>(i)); }

private:
    void BuildControls();
    void FillLists();
    void ApplyDialogTexts();
    void PaintDialog();
    // The colour the scroll bars edit: 0 the text colour, 1 the back colour.
    int SelectedColor() const;
    Rgb& EditedColor();
    void ShowColorNumbers();
    void ColorFromScrollBars();
    void ColorChoiceChanged();
    void ColorsFromSkinClicked();
    // A listed file that can no longer be read when chosen: the one in use
    // stays chosen, and the entry that leads nowhere leaves the list.
    void DropEntry(QComboBox* list, std::vector<OfferedFile>& files, int index, const std::string& inUse);
    void LanguageChosen(int index);
    void SkinChosen(int index);
    // The check box's value for a byte setting: 1 ticked, 2 not.
    static std::uint8_t ByteFor(bool ticked) { return ticked ? SettingOn : SettingOff; }

    Settings& settings_;
    TextTable& texts_;
    SkinColors& skinColors_;
    std::vector<std::filesystem::path> dataFolders_;
    SettingsEffects effects_;
    bool loading_ = false;
    std::vector<OfferedFile> languageFiles_;  // LangFiles
    std::vector<OfferedFile> skinFiles_;      // SkinFiles

    std::array<QGroupBox*, 4> frames_{};
    QComboBox* languages_ = nullptr;
    QLabel* skinLabel_ = nullptr;
    QComboBox* skins_ = nullptr;
    QLabel* colorsLabel_ = nullptr;
    QCheckBox* colorsFromSkin_ = nullptr;
    QListWidget* colorChoice_ = nullptr;
    std::array<QScrollBar*, 3> bars_{};
    std::array<QLabel*, 3> numbers_{};
    QCheckBox* sound_ = nullptr;
    QCheckBox* music_ = nullptr;
    QRadioButton* clockwise_ = nullptr;
    QRadioButton* counterclockwise_ = nullptr;
    QCheckBox* moveDuringFall_ = nullptr;
    QCheckBox* grid_ = nullptr;
    QCheckBox* next_ = nullptr;
    QPushButton* close_ = nullptr;
};

} // namespace plumix
