// The settings window: language, skin, colours, sound and the game's options,
// a view over the settings editor. Every change takes effect at once, behind
// the window.
#pragma once

#include "settings/settings_editor.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace plumix {

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    SettingsDialog(SettingsEditor editor, QWidget* owner);

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
    void ShowSettings();
    void ApplyDialogTexts();
    void PaintDialog();
    // The edited colour's numbers, and on the bars unless `moveBars` is false.
    void ShowColor(bool moveBars = true);
    void BarMoved(int component, int value);
    void ColorsFromSkinClicked(bool fromSkin);
    // The list's entries, `chosen` selected (-1: none).
    void ShowList(QComboBox* list, const std::vector<OfferedFile>& files, int chosen);

    SettingsEditor editor_;

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
