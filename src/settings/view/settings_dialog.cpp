#include "settings/view/settings_dialog.h"

#include "engine/figures.h"
#include "base/file_io.h"
#include "base/game_folders.h"
#include "settings/language.h"
#include "widgets/colors_qt.h"
#include "widgets/plain_text_qt.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace plumix {

namespace {

// Text numbers of the window.
constexpr int TextTitle = 114;
constexpr int TextCloseButton = 207;
constexpr int TextCloseTip = 208;
constexpr std::array<int, 4> TextFrames = {701, 702, 703, 704};
constexpr int TextSkin = 710;
constexpr int TextColors = 711;
constexpr int TextColorsFromSkin = 712;
constexpr int TextTextColor = 713;
constexpr int TextBackColor = 714;
constexpr int TextSfx = 715;
constexpr int TextMusic = 716;
constexpr int TextClockwise = 717;
constexpr int TextCounterclockwise = 718;
constexpr int TextMoveDuringFall = 719;
constexpr int TextShowGrid = 720;
constexpr int TextShowNext = 721;

QString Text(const TextTable& texts, int number)
{
    return FromUtf8(TextOf(texts, number));
}

QString Caption(const TextTable& texts, int number)
{
    return LiteralCaption(TextOf(texts, number));
}

// The position of the setting's file in the list, -1 when it is not listed.
int PositionOf(const std::vector<OfferedFile>& files, const std::string& chosen)
{
    const auto it = std::find_if(files.begin(), files.end(), [&](const OfferedFile& f) { return f.fileName == chosen; });
    return it == files.end() ? -1 : static_cast<int>(it - files.begin());
}

std::uint8_t& Component(Rgb& color, int i)
{
    return i == 0 ? color.red : i == 1 ? color.green : color.blue;
}

// Lists, scroll bars and buttons keep the desktop's colours whatever the
// window's colours are, in each state: a disabled one must look disabled.
void KeepOwnColours(QWidget* widget)
{
    QPalette own = QApplication::palette(widget);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        for (auto role : {QPalette::Window, QPalette::WindowText, QPalette::Base, QPalette::Text, QPalette::Button,
                          QPalette::ButtonText}) {
            own.setColor(group, role, own.color(group, role));
        }
    }
    widget->setPalette(own);
}

} // namespace

SettingsDialog::SettingsDialog(Settings& settings, TextTable& texts, SkinColors& skinColors,
                               std::vector<std::filesystem::path> dataFolders, SettingsEffects effects,
                               QWidget* owner)
    : QDialog(owner),
      settings_(settings),
      texts_(texts),
      skinColors_(skinColors),
      dataFolders_(std::move(dataFolders)),
      effects_(std::move(effects))
{
    BuildControls();
    PaintDialog();
    ApplyDialogTexts();
    FillLists();
}

void SettingsDialog::BuildControls()
{
    for (auto& frame : frames_) {
        frame = new QGroupBox(this);
    }
    languages_ = new QComboBox(frames_[0]);
    languages_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* languageLayout = new QVBoxLayout(frames_[0]);
    languageLayout->addWidget(languages_);

    skinLabel_ = new QLabel(frames_[1]);
    skinLabel_->setTextFormat(Qt::PlainText);
    skins_ = new QComboBox(frames_[1]);
    skins_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    colorsLabel_ = new QLabel(frames_[1]);
    colorsLabel_->setTextFormat(Qt::PlainText);
    colorsFromSkin_ = new QCheckBox(frames_[1]);
    colorChoice_ = new QListWidget(frames_[1]);
    colorChoice_->setFixedHeight(2 * colorChoice_->fontMetrics().height() + 8);
    auto* look = new QGridLayout(frames_[1]);
    look->addWidget(skinLabel_, 0, 0);
    look->addWidget(skins_, 0, 1, 1, 2);
    look->addWidget(colorsLabel_, 1, 0);
    look->addWidget(colorsFromSkin_, 1, 1, 1, 2);
    look->addWidget(colorChoice_, 2, 0, 1, 3);
    const int digits = fontMetrics().horizontalAdvance(QStringLiteral("0000"));
    for (int i = 0; i < 3; ++i) {
        auto* bar = new QScrollBar(Qt::Horizontal, frames_[1]);
        bar->setRange(0, 255);
        bar->setMinimumWidth(160);
        auto* number = new QLabel(frames_[1]);
        number->setMinimumWidth(digits);
        number->setTextFormat(Qt::PlainText);
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        look->addWidget(bar, 3 + i, 0, 1, 2);
        look->addWidget(number, 3 + i, 2);
        bars_[static_cast<std::size_t>(i)] = bar;
        numbers_[static_cast<std::size_t>(i)] = number;
        connect(bar, &QScrollBar::valueChanged, this, [this] { ColorFromScrollBars(); });
    }

    sound_ = new QCheckBox(frames_[2]);
    music_ = new QCheckBox(frames_[2]);
    auto* audio = new QVBoxLayout(frames_[2]);
    audio->addWidget(sound_);
    audio->addWidget(music_);

    clockwise_ = new QRadioButton(frames_[3]);
    counterclockwise_ = new QRadioButton(frames_[3]);
    moveDuringFall_ = new QCheckBox(frames_[3]);
    grid_ = new QCheckBox(frames_[3]);
    next_ = new QCheckBox(frames_[3]);
    auto* general = new QVBoxLayout(frames_[3]);
    for (QWidget* w : std::initializer_list<QWidget*>{clockwise_, counterclockwise_, moveDuringFall_, grid_, next_}) {
        general->addWidget(w);
    }

    close_ = new QPushButton(this);
    close_->setDefault(true);
    auto* left = new QVBoxLayout;
    left->addWidget(frames_[0]);
    left->addWidget(frames_[1]);
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(frames_[2]);
    right->addWidget(frames_[3]);
    right->addStretch();
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close_);
    auto* all = new QVBoxLayout(this);
    all->addLayout(columns);
    all->addLayout(buttons);
    // The window keeps the size its contents need in the language shown.
    all->setSizeConstraint(QLayout::SetFixedSize);

    for (QWidget* w : std::initializer_list<QWidget*>{languages_, skins_, colorChoice_, bars_[0], bars_[1], bars_[2],
                                                      close_}) {
        KeepOwnColours(w);
    }

    connect(languages_, &QComboBox::currentIndexChanged, this, &SettingsDialog::LanguageChosen);
    connect(skins_, &QComboBox::currentIndexChanged, this, &SettingsDialog::SkinChosen);
    connect(colorChoice_, &QListWidget::currentRowChanged, this, [this] { ColorChoiceChanged(); });
    connect(colorsFromSkin_, &QCheckBox::toggled, this, [this] { ColorsFromSkinClicked(); });
    connect(grid_, &QCheckBox::toggled, this, [this](bool on) {
        if (!loading_) {
            settings_.showGrid = ByteFor(on);
            effects_.cellsChanged();
        }
    });
    connect(next_, &QCheckBox::toggled, this, [this](bool on) {
        if (!loading_) {
            settings_.showNext = ByteFor(on);
            effects_.previewChanged();
        }
    });
    const auto byteSetting = [this](QCheckBox* box, std::uint8_t Settings::*setting) {
        connect(box, &QCheckBox::toggled, this, [this, setting](bool on) {
            if (!loading_) {
                settings_.*setting = ByteFor(on);
            }
        });
    };
    byteSetting(moveDuringFall_, &Settings::moveDuringFall);
    byteSetting(sound_, &Settings::soundOn);
    byteSetting(music_, &Settings::musicOn);
    connect(clockwise_, &QRadioButton::toggled, this, [this] {
        if (!loading_) {
            settings_.rotateDir = clockwise_->isChecked() ? RotateClockwise : RotateCounterclockwise;
        }
    });
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
}

void SettingsDialog::FillLists()
{
    loading_ = true;
    languageFiles_ = ListLanguages(dataFolders_);
    skinFiles_ = ListSkinsIn(dataFolders_);
    const auto fill = [](QComboBox* list, const std::vector<OfferedFile>& files, const std::string& chosen) {
        list->clear();
        for (const OfferedFile& file : files) {
            list->addItem(QString::fromStdString(file.displayName));
        }
        // A setting that names no listed file selects nothing.
        list->setCurrentIndex(PositionOf(files, chosen));
    };
    fill(languages_, languageFiles_, settings_.languageFile);
    fill(skins_, skinFiles_, settings_.skinFile);
    colorsFromSkin_->setChecked(settings_.colorsFromSkin == SettingOn);
    sound_->setChecked(settings_.soundOn == SettingOn);
    music_->setChecked(settings_.musicOn == SettingOn);
    (settings_.rotateDir == RotateCounterclockwise ? counterclockwise_ : clockwise_)->setChecked(true);
    moveDuringFall_->setChecked(settings_.moveDuringFall == SettingOn);
    grid_->setChecked(settings_.showGrid == SettingOn);
    next_->setChecked(settings_.showNext == SettingOn);
    loading_ = false;
}

void SettingsDialog::ApplyDialogTexts()
{
    setWindowTitle(Text(texts_, TextTitle));
    for (std::size_t i = 0; i < frames_.size(); ++i) {
        frames_[i]->setTitle(Caption(texts_, TextFrames[i]));
    }
    skinLabel_->setText(Text(texts_, TextSkin));
    colorsLabel_->setText(Text(texts_, TextColors));
    colorsFromSkin_->setText(Caption(texts_, TextColorsFromSkin));
    sound_->setText(Caption(texts_, TextSfx));
    music_->setText(Caption(texts_, TextMusic));
    clockwise_->setText(Caption(texts_, TextClockwise));
    counterclockwise_->setText(Caption(texts_, TextCounterclockwise));
    moveDuringFall_->setText(Caption(texts_, TextMoveDuringFall));
    grid_->setText(Caption(texts_, TextShowGrid));
    next_->setText(Caption(texts_, TextShowNext));
    {
        const QSignalBlocker quiet(colorChoice_);
        colorChoice_->clear();
        colorChoice_->addItem(Text(texts_, TextTextColor));
        colorChoice_->addItem(Text(texts_, TextBackColor));
    }
    colorChoice_->setCurrentRow(0);
    ColorChoiceChanged();  // also when row 0 was selected before
    close_->setText(Caption(texts_, TextCloseButton));
    close_->setToolTip(PlainTooltip(TextOf(texts_, TextCloseTip)));
}

void SettingsDialog::PaintDialog()
{
    PaintWithSettings(*this, settings_);
}

int SettingsDialog::SelectedColor() const
{
    return colorChoice_->currentRow() == 1 ? 1 : 0;
}

Rgb& SettingsDialog::EditedColor()
{
    return SelectedColor() == 1 ? settings_.backColor : settings_.textColor;
}

void SettingsDialog::ShowColorNumbers()
{
    for (int i = 0; i < 3; ++i) {
        numbers_[static_cast<std::size_t>(i)]->setText(QString::number(Component(EditedColor(), i)));
    }
}

void SettingsDialog::ColorFromScrollBars()
{
    ShowColorNumbers();
    if (loading_) {
        return;
    }
    for (int i = 0; i < 3; ++i) {
        Component(EditedColor(), i) = static_cast<std::uint8_t>(bars_[static_cast<std::size_t>(i)]->value());
    }
    ShowColorNumbers();
    effects_.colorsChanged();
    PaintDialog();
}

void SettingsDialog::ColorChoiceChanged()
{
    loading_ = true;
    for (int i = 0; i < 3; ++i) {
        bars_[static_cast<std::size_t>(i)]->setValue(Component(EditedColor(), i));
    }
    ColorFromScrollBars();
    loading_ = false;
}

void SettingsDialog::ColorsFromSkinClicked()
{
    const bool fromSkin = colorsFromSkin_->isChecked();
    for (QScrollBar* bar : bars_) {
        bar->setEnabled(!fromSkin);
    }
    if (loading_) {
        return;
    }
    if (fromSkin) {
        settings_.colorsFromSkin = SettingOn;
        settings_.textColor = skinColors_.text;
        settings_.backColor = skinColors_.back;
        ShowColorNumbers();
    } else {
        settings_.colorsFromSkin = SettingOff;
        loading_ = true;
        for (int i = 0; i < 3; ++i) {
            bars_[static_cast<std::size_t>(i)]->setValue(Component(EditedColor(), i));
        }
        ShowColorNumbers();
        loading_ = false;
    }
    effects_.colorsChanged();
    PaintDialog();
}

void SettingsDialog::DropEntry(QComboBox* list, std::vector<OfferedFile>& files, int index, const std::string& inUse)
{
    loading_ = true;
    files.erase(files.begin() + index);
    list->removeItem(index);
    list->setCurrentIndex(PositionOf(files, inUse));
    loading_ = false;
}

void SettingsDialog::LanguageChosen(int index)
{
    if (loading_ || index < 0 || index >= static_cast<int>(languageFiles_.size())) {
        return;
    }
    const std::string file = languageFiles_[static_cast<std::size_t>(index)].fileName;
    // A file gone or unreadable since the list was made would give English
    // under another language's name.
    const std::filesystem::path folder = FolderHolding(dataFolders_, file);
    if (file != BuiltInLanguage && !ReadFileBytes(folder / file)) {
        DropEntry(languages_, languageFiles_, index, settings_.languageFile);
        return;
    }
    settings_.languageFile = file;
    LoadLanguage(texts_, settings_.languageFile, folder);
    effects_.languageChanged();
    ApplyDialogTexts();
}

void SettingsDialog::SkinChosen(int index)
{
    if (loading_ || index < 0 || index >= static_cast<int>(skinFiles_.size())) {
        return;
    }
    const std::string file = skinFiles_[static_cast<std::size_t>(index)].fileName;
    if (ReadSkinFile(SkinFilePath(SkinRoot(dataFolders_, file), file)).status == SkinReadStatus::Missing) {
        DropEntry(skins_, skinFiles_, index, settings_.skinFile);
        return;
    }
    settings_.skinFile = file;
    effects_.skinChanged();
    ColorChoiceChanged();
    PaintDialog();
}

} // namespace plumix
