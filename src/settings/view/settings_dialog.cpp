#include "settings/view/settings_dialog.h"

#include "widgets/colors.h"
#include "widgets/plain_text.h"

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
#include <QSignalBlocker>
#include <QScrollBar>
#include <QVBoxLayout>

namespace plumix {

namespace {

constexpr std::array<int, 4> TextFrames = {TextLanguageFrame, TextLookFrame, TextAudioFrame, TextGeneralFrame};

QLabel* NewPlainLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

SettingsDialog::SettingsDialog(SettingsEditor editor, QWidget* owner) : QDialog(owner), editor_(std::move(editor))
{
    BuildControls();
    PaintDialog();
    ApplyDialogTexts();
    ShowSettings();
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

    skinLabel_ = NewPlainLabel(frames_[1]);
    skins_ = new QComboBox(frames_[1]);
    skins_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    colorsLabel_ = NewPlainLabel(frames_[1]);
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
        // Tab stops at it, so a pad player reaches the colours too.
        bar->setFocusPolicy(Qt::StrongFocus);
        auto* number = NewPlainLabel(frames_[1]);
        number->setMinimumWidth(digits);
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        look->addWidget(bar, 3 + i, 0, 1, 2);
        look->addWidget(number, 3 + i, 2);
        bars_[static_cast<std::size_t>(i)] = bar;
        numbers_[static_cast<std::size_t>(i)] = number;
        connect(bar, &QScrollBar::valueChanged, this, [this, i](int value) { BarMoved(i, value); });
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

    // A file gone since the list was made leaves it, and the one in use stays chosen.
    connect(languages_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!editor_.ChooseLanguage(index)) {
            ShowList(languages_, editor_.Languages(), editor_.LanguageIndex());
        } else {
            ApplyDialogTexts();
        }
    });
    connect(skins_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!editor_.ChooseSkin(index)) {
            ShowList(skins_, editor_.Skins(), editor_.SkinIndex());
        } else {
            ShowColor();
            PaintDialog();
        }
    });
    connect(colorChoice_, &QListWidget::currentRowChanged, this, [this](int row) {
        editor_.SetEdited(row == 1 ? EditedColor::Back : EditedColor::Text);
        ShowColor();
    });
    connect(colorsFromSkin_, &QCheckBox::toggled, this, [this](bool on) { ColorsFromSkinClicked(on); });
    const auto option = [this](QAbstractButton* box, SettingsOption which) {
        connect(box, &QAbstractButton::toggled, this, [this, which](bool on) { editor_.Set(which, on); });
    };
    option(sound_, SettingsOption::Sound);
    option(music_, SettingsOption::Music);
    option(clockwise_, SettingsOption::Clockwise);
    option(moveDuringFall_, SettingsOption::MoveDuringFall);
    option(grid_, SettingsOption::Grid);
    option(next_, SettingsOption::Next);
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
}

void SettingsDialog::ShowList(QComboBox* list, const std::vector<OfferedFile>& files, int chosen)
{
    const QSignalBlocker quiet(list);
    list->clear();
    for (const OfferedFile& file : files) {
        list->addItem(FromUtf8(file.displayName));
    }
    // A setting that names no listed file selects nothing.
    list->setCurrentIndex(chosen);
}

void SettingsDialog::ShowSettings()
{
    ShowList(languages_, editor_.Languages(), editor_.LanguageIndex());
    ShowList(skins_, editor_.Skins(), editor_.SkinIndex());
    // The controls show the settings; none of them may change one meanwhile.
    const QSignalBlocker quiet[] = {QSignalBlocker(colorsFromSkin_), QSignalBlocker(sound_),
                                    QSignalBlocker(music_),          QSignalBlocker(clockwise_),
                                    QSignalBlocker(counterclockwise_), QSignalBlocker(moveDuringFall_),
                                    QSignalBlocker(grid_),           QSignalBlocker(next_)};
    colorsFromSkin_->setChecked(editor_.ColorsFromSkin());
    for (QScrollBar* bar : bars_) {
        bar->setEnabled(!editor_.ColorsFromSkin());
    }
    sound_->setChecked(editor_.IsOn(SettingsOption::Sound));
    music_->setChecked(editor_.IsOn(SettingsOption::Music));
    (editor_.IsOn(SettingsOption::Clockwise) ? clockwise_ : counterclockwise_)->setChecked(true);
    moveDuringFall_->setChecked(editor_.IsOn(SettingsOption::MoveDuringFall));
    grid_->setChecked(editor_.IsOn(SettingsOption::Grid));
    next_->setChecked(editor_.IsOn(SettingsOption::Next));
}

void SettingsDialog::ApplyDialogTexts()
{
    const TextTable& texts = editor_.Texts();
    const auto caption = [&texts](int number) { return LiteralCaption(TextOf(texts, number)); };
    setWindowTitle(FromUtf8(TextOf(texts, TextSettingsTip)));
    for (std::size_t i = 0; i < frames_.size(); ++i) {
        frames_[i]->setTitle(caption(TextFrames[i]));
    }
    skinLabel_->setText(FromUtf8(TextOf(texts, TextSkin)));
    colorsLabel_->setText(FromUtf8(TextOf(texts, TextColors)));
    colorsFromSkin_->setText(caption(TextColorsFromSkin));
    sound_->setText(caption(TextSfx));
    music_->setText(caption(TextMusic));
    clockwise_->setText(caption(TextClockwise));
    counterclockwise_->setText(caption(TextCounterclockwise));
    moveDuringFall_->setText(caption(TextMoveDuringFall));
    grid_->setText(caption(TextShowGrid));
    next_->setText(caption(TextShowNext));
    {
        const QSignalBlocker quiet(colorChoice_);
        colorChoice_->clear();
        colorChoice_->addItem(FromUtf8(TextOf(texts, TextTextColor)));
        colorChoice_->addItem(FromUtf8(TextOf(texts, TextBackColor)));
    }
    // A new language starts the list on the text colour again.
    colorChoice_->setCurrentRow(0);
    editor_.SetEdited(EditedColor::Text);
    ShowColor();
    close_->setText(caption(TextCloseButton));
    close_->setToolTip(PlainTooltip(TextOf(texts, TextCloseTip)));
}

void SettingsDialog::PaintDialog()
{
    PaintWithColors(*this, editor_.Current().textColor, editor_.Current().backColor);
}

void SettingsDialog::ShowColor(bool moveBars)
{
    const Rgb color = editor_.EditedValue();
    for (int i = 0; moveBars && i < 3; ++i) {
        QScrollBar* bar = bars_[static_cast<std::size_t>(i)];
        const QSignalBlocker quiet(bar);
        bar->setValue(Component(color, i));
    }
    for (int i = 0; i < 3; ++i) {
        numbers_[static_cast<std::size_t>(i)]->setText(QString::number(Component(color, i)));
    }
}

void SettingsDialog::BarMoved(int component, int value)
{
    if (editor_.ColorsFromSkin()) {
        return;
    }
    editor_.SetEditedComponent(component, static_cast<std::uint8_t>(value));
    ShowColor();
    PaintDialog();
}

void SettingsDialog::ColorsFromSkinClicked(bool fromSkin)
{
    for (QScrollBar* bar : bars_) {
        bar->setEnabled(!fromSkin);
    }
    editor_.SetColorsFromSkin(fromSkin);
    // Ticked, the bars keep their place: they come back to it when unticked.
    ShowColor(!fromSkin);
    PaintDialog();
}

} // namespace plumix
