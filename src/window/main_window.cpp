#include "window/main_window.h"

#include "engine/clock_seeded_random.h"
#include "engine/keys.h"
#include "levels/level_intro.h"
#include "levels/view/level_intro_window.h"
#include "scores/records_file.h"
#include "settings/language.h"
#include "settings/view/settings_dialog.h"
#include "settings/settings_file.h"
#include "widgets/about_box.h"
#include "widgets/button.h"
#include "widgets/colors_qt.h"
#include "widgets/key_map_qt.h"
#include "widgets/outlined_label.h"
#include "window/board_widget.h"
#include "window/builtin_pictures_qt.h"
#include "window/timers_qt.h"

#include <QCloseEvent>
#include <QFont>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

namespace plumix {

namespace {

// Passes effects on to the player once there is one; silent before.
class SoundRelay : public SoundPort {
public:
    void PlaySfx(std::string_view name) override
    {
        if (target != nullptr) {
            target->PlaySfx(name);
        }
    }
    SoundPort* target = nullptr;
};

// "Lucida Console" where it is installed, else the system's monospace face:
// without the hint fontconfig answers with a proportional face.
QFont LabelFont(double points)
{
    QFont font;
    font.setFamilies({QStringLiteral("Lucida Console"), QStringLiteral("DejaVu Sans Mono"),
                      QStringLiteral("monospace")});
    font.setStyleHint(QFont::Monospace);
    font.setBold(true);
    font.setPointSizeF(points);
    return font;
}

template <class Label = QLabel>
Label* NewLabel(QWidget* parent, QRect geometry, double points, Qt::Alignment align)
{
    auto* label = new Label(parent);
    label->setGeometry(geometry);
    label->setFont(LabelFont(points));
    label->setAlignment(align | Qt::AlignVCenter);
    label->setTextFormat(Qt::PlainText);
    label->setAttribute(Qt::WA_TranslucentBackground);
    return label;
}

QString Text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

constexpr double CaptionPoints = 15.75;
constexpr double LimitPoints = 26.25;
constexpr double StatusPoints = 72;
constexpr int FocusLossGraceMs = 60;

} // namespace

MainWindow::MainWindow(AppState& app, std::unique_ptr<RandomSource> random, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      app_(app),
      random_(random ? std::move(random) : std::make_unique<ClockSeededRandom>()),
      sound_(std::make_unique<SoundRelay>()),
      dialogs_(this)
{
    setWindowTitle(QStringLiteral("Plumix"));
    setFixedSize(576, 700);
    setFocusPolicy(Qt::StrongFocus);

    board_ = new BoardWidget(this);
    board_->setGeometry(rect());
    board_->SetBackground(BuiltInBackground());
    const auto palette = BuiltInPalette();
    for (int i = 0; i < PaletteSize; ++i) {
        board_->SetPalettePicture(i, palette[static_cast<std::size_t>(i)]);
    }

    const Qt::Alignment left = Qt::AlignLeft;
    const Qt::Alignment right = Qt::AlignRight;
    captions_[6] = NewLabel(this, {392, 40, 145, 20}, CaptionPoints, Qt::AlignHCenter);
    captions_[0] = NewLabel(this, {392, 200, 145, 20}, CaptionPoints, left);
    score_ = NewLabel(this, {408, 224, 129, 20}, CaptionPoints, right);
    for (std::size_t i = 0; i < 4; ++i) {
        const int step = 48 * static_cast<int>(i);
        captions_[2 + i] = NewLabel(this, {392, 248 + step, 145, 20}, CaptionPoints, left);
        lines_[i] = NewLabel(this, {456, 272 + step, 81, 20}, CaptionPoints, right);
    }
    captions_[1] = NewLabel(this, {392, 440, 145, 20}, CaptionPoints, left);
    level_ = NewLabel(this, {448, 464, 89, 20}, CaptionPoints, right);
    // Over the top of the well, where figures of every colour appear.
    limit_ = NewLabel<OutlinedLabel>(this, {32, 48, 321, 33}, LimitPoints, Qt::AlignHCenter);
    status_ = NewLabel(this, {32, 296, 321, 105}, StatusPoints, Qt::AlignHCenter);

    for (std::size_t k = 0; k < menu_.size(); ++k) {
        auto* button = new Button(this);
        button->move(384, 520 + 24 * static_cast<int>(k));
        connect(button, &Button::Click, this, [this, k] { MenuAction(static_cast<int>(k)); });
        connect(button, &Button::KeyDown, this, &MainWindow::HandleKeyDown);
        menu_[k] = button;
    }
    minimize_ = new SmallButton(this);
    minimize_->move(530, 4);
    connect(minimize_, &SmallButton::Click, this, &QWidget::showMinimized);
    connect(minimize_, &SmallButton::KeyDown, this, &MainWindow::HandleKeyDown);
    close_ = new SmallButton(this);
    close_->move(552, 4);
    connect(close_, &SmallButton::Click, this, &MainWindow::QuitAction);
    connect(close_, &SmallButton::KeyDown, this, &MainWindow::HandleKeyDown);

    timers_ = new QtTimers(this);
    game_ = std::make_unique<Game>(Game::Ports{*timers_, *random_, *board_, *sound_, *this, dialogs_},
                                   app_.settings, app_.texts, app_.records);
    levelFlow_ = std::make_unique<LevelFlow>(*game_, LevelFlow::Ports{*timers_, *board_, dialogs_, *this},
                                             app_.levels);
    timers_->SetHandler([this](TimerId id) { game_->OnTimer(id); });
    connect(board_, &BoardWidget::MouseMovedOverBoard, this, [this] { game_->MouseMovedOverBoard(); });

    // Another program taking the focus pauses the game; the game's own
    // windows leave the application active and do not.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, &MainWindow::ApplicationStateChanged);

    ApplyLanguage();
    ApplyColors();
    StatusChanged();
}

MainWindow::~MainWindow()
{
    // The timers call into the game: silence them before the game goes.
    timers_->SetHandler(nullptr);
    levelFlow_.reset();
}

QLabel* MainWindow::LimitLabel() const
{
    return limit_;
}

void MainWindow::SetSound(SoundPort* sound)
{
    static_cast<SoundRelay&>(*sound_).target = sound;
}

void MainWindow::ApplyLanguage()
{
    const MainWindowTexts texts = ComposeMainWindowTexts(app_.texts, game_->State().paused);
    for (std::size_t k = 0; k < menu_.size(); ++k) {
        menu_[k]->SetCaption(Text(texts.buttonCaptions[k]));
    }
    for (std::size_t k = 0; k < menu_.size(); ++k) {
        menu_[k]->SetTip(Text(texts.buttonTooltips[k]));
    }
    close_->SetTip(Text(texts.closeTooltip));
    minimize_->SetTip(Text(texts.minimizeTooltip));
    for (std::size_t i = 0; i < captions_.size(); ++i) {
        captions_[i]->setText(Text(texts.labels[i]));
    }
    StatusChanged();
}

void MainWindow::ApplyColors()
{
    const QColor color = ToQColor(app_.settings.textColor);
    QPalette pal;
    pal.setColor(QPalette::WindowText, color);
    limit_->SetOutlineColor(ToQColor(app_.settings.backColor));
    for (QLabel* label : {static_cast<QLabel*>(limit_), score_, level_, status_}) {
        label->setPalette(pal);
    }
    for (Button* button : menu_) {
        button->SetColor(color);
    }
    for (QLabel* label : captions_) {
        label->setPalette(pal);
    }
    for (QLabel* label : lines_) {
        label->setPalette(pal);
    }
}

void MainWindow::LoadSkin()
{
    const std::filesystem::path root = SkinRoot(app_.dataFolders, app_.settings.skinFile);
    const SkinFileContents skin = ReadSkinFile(SkinFilePath(root, app_.settings.skinFile));
    if (skin.status == SkinReadStatus::Missing) {
        // The pictures stay, but the settings' own colours still apply.
        ApplyColors();
        return;
    }
    TakeSkinColors(skin, app_.skinColors, app_.settings);
    for (const SkinPicture& picture : SkinPictures) {
        const std::filesystem::path path = FindSkinPicture(app_.dataFolders, skin.pictureFolder, picture.fileName);
        const QPixmap pixmap(QString::fromStdString(path.string()));
        if (pixmap.isNull()) {
            continue;  // a missing picture keeps the one shown before
        }
        switch (picture.holder) {
        case PictureHolder::Background: board_->SetBackground(pixmap); break;
        case PictureHolder::Block: board_->SetPalettePicture(picture.blockIndex, pixmap); break;
        case PictureHolder::CloseButton: close_->SetPicture(pixmap); break;
        case PictureHolder::MinimizeButton: minimize_->SetPicture(pixmap); break;
        case PictureHolder::MenuButtons:
            for (Button* button : menu_) {
                button->SetPicture(pixmap);
            }
            break;
        }
    }
    ApplyColors();
}

void MainWindow::StatusChanged()
{
    const GameState& s = game_->State();
    auto show = [](QLabel* label, const QString& text) {
        if (label->text() != text) {
            label->setText(text);
        }
    };
    show(score_, QString::number(s.score));
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        show(lines_[i], s.introShowing ? QString() : QString::number(s.lines[i]));
    }
    show(level_, s.level ? QString::number(*s.level) : QString());
    show(limit_, s.limit ? QString::number(*s.limit) : QString());
    show(status_, s.paused && !s.introShowing ? Text(TextOf(app_.texts, TextPauseStatus)) : QString());
    menu_[2]->SetCaption(Text(TextOf(app_.texts, s.paused ? TextResumeButton : TextPauseButton)));
}

void MainWindow::ShowLevelIntro()
{
    const LevelIntroTexts texts =
        ComposeLevelIntro(app_.texts, levelFlow_->CurrentLevel(), levelFlow_->Lives(), levelFlow_->CurrentLevelDef());
    auto* intro = new LevelIntroWindow(app_.settings, texts, this);
    intro->setAttribute(Qt::WA_DeleteOnClose);
    // However it is dismissed (a key, a click, the close box), the level starts.
    connect(intro, &QDialog::finished, this, [this] { levelFlow_->StartLevel(); });
    intro->open();
}

void MainWindow::HandleKeyDown(int keyCode, int shift)
{
    if (keyCode == VkF4 && shift == ShiftMaskAlt) {
        QuitAction();
    }
    switch (keyCode) {
    case VkF2: MenuAction(0); break;
    case VkF3: MenuAction(1); break;
    case VkSpace: MenuAction(2); break;
    case VkF5: MenuAction(3); break;
    case VkF8: MenuAction(4); break;
    case VkF1: MenuAction(5); break;
    case VkEscape: QuitAction(); break;
    default: break;
    }
    game_->KeyDown(keyCode);
}

void MainWindow::MenuAction(int k)
{
    show();
    raise();
    activateWindow();
    switch (k) {
    case 0: game_->NewClassicGame(); break;
    case 1: levelFlow_->NewGame(); break;
    case 2: game_->TogglePause(); break;
    case 3:
        game_->PauseGame();
        if (showHiScores) {
            showHiScores();
        }
        break;
    case 4:
        game_->PauseGame();
        ShowSettings();
        break;
    case 5: {
        game_->PauseGame();
        auto* about = new AboutBox(app_.settings, app_.texts, this);
        about->open();
        break;
    }
    default: break;
    }
}

void MainWindow::ShowSettings()
{
    SettingsEffects effects;
    effects.languageChanged = [this] { ApplyLanguage(); };
    effects.skinChanged = [this] {
        LoadSkin();
        game_->RepaintCells();
    };
    effects.colorsChanged = [this] { ApplyColors(); };
    effects.cellsChanged = [this] { game_->RepaintCells(); };
    effects.previewChanged = [this] { game_->DrawNext(); };
    auto* dialog =
        new SettingsDialog(app_.settings, app_.texts, app_.skinColors, app_.dataFolders, std::move(effects), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void MainWindow::ApplicationStateChanged(Qt::ApplicationState state)
{
    // Closing one of the game's own windows can leave the application without
    // a focused window for a moment; only a loss that lasts is another program.
    applicationState_ = state;
    if (state != Qt::ApplicationActive) {
        QTimer::singleShot(FocusLossGraceMs, this, [this] {
            if (applicationState_ != Qt::ApplicationActive) {
                game_->PauseGame();
            }
        });
    }
}

void MainWindow::QuitAction()
{
    if (ending_) {
        return;
    }
    if (game_->State().gameMode == GameModeNone) {
        SaveAndEnd();
        return;
    }
    game_->AskThen(TextOf(app_.texts, TextAreYouSure), TextOf(app_.texts, TextQuitTitle), [this](bool yes) {
        if (yes) {
            SaveAndEnd();
        }
    });
}

void MainWindow::EndWithoutAsking()
{
    if (ending_) {
        return;
    }
    // Our windows that wait for the player close as if the player closed
    // them: a record entry keeps what was typed, a question is answered No.
    for (int i = 0; i < 8 && QApplication::activeModalWidget() != nullptr; ++i) {
        QApplication::activeModalWidget()->close();
    }
    SaveAndEnd(false);
}

void MainWindow::SaveAndEnd(bool mayAsk)
{
    ending_ = true;
    // Nothing of the game runs any more while the files are written.
    timers_->SetHandler(nullptr);
    if (app_.KeepsFiles() && SaveRecords(app_.folder / RecordsFileName, app_.records) != RecordsFileResult::Ok &&
        mayAsk) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Plumix"),
                        QString::fromUtf8(RecordsSaveFailedMessage.data(),
                                          static_cast<qsizetype>(RecordsSaveFailedMessage.size())),
                        QMessageBox::Ok, this);
        box.exec();
    }
    if (app_.KeepsFiles()) {
        SaveSettings(app_.folder / SettingsFileName, app_.settings);
    }
    emit Ended();
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    // An auto-repeated press is a key-down like any other: holding Left keeps moving.
    HandleKeyDown(VirtualKeyFor(event->key()), ShiftMaskFor(event->modifiers()));
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (ending_) {
        event->accept();
        return;
    }
    // The window manager's close (Alt+F4 included) is the quit action; the
    // window stays open unless the action ends the program.
    event->ignore();
    // A window of ours is waiting for the player (the record entry holds a
    // place made for the new record): finish it before the tables are saved.
    if (QApplication::activeModalWidget() != nullptr) {
        return;
    }
    QuitAction();
}

} // namespace plumix
