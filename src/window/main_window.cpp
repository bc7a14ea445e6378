#include "window/main_window.h"

#include "session/game_session.h"
#include "session/window_texts.h"
#include "widgets/button.h"
#include "widgets/colors_qt.h"
#include "widgets/key_map_qt.h"
#include "widgets/outlined_label.h"
#include "widgets/plain_text_qt.h"
#include "window/board_widget.h"
#include "window/builtin_pictures_qt.h"
#include "window/skin_pictures_qt.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>

namespace plumix {

namespace {

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

void Show(QLabel* label, const QString& text)
{
    if (label->text() != text) {
        label->setText(text);
    }
}

constexpr double CaptionPoints = 15.75;
constexpr double LimitPoints = 26.25;
constexpr double StatusPoints = 72;
// Closing one of the game's own windows can leave the application without a
// focused window for a moment; only a loss that lasts is another program.
constexpr int FocusLossGraceMs = 60;

} // namespace

MainWindow::MainWindow(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
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
        connect(button, &Button::Click, this, [this, k] {
            if (session_ != nullptr) {
                session_->Run(MenuCommands[k]);
            }
        });
        connect(button, &Button::KeyDown, this, &MainWindow::HandleKeyDown);
        menu_[k] = button;
    }
    minimize_ = new SmallButton(this);
    minimize_->move(530, 4);
    connect(minimize_, &SmallButton::Click, this, &QWidget::showMinimized);
    connect(minimize_, &SmallButton::KeyDown, this, &MainWindow::HandleKeyDown);
    close_ = new SmallButton(this);
    close_->move(552, 4);
    connect(close_, &SmallButton::Click, this, [this] {
        if (session_ != nullptr) {
            session_->Run(Command::Quit);
        }
    });
    connect(close_, &SmallButton::KeyDown, this, &MainWindow::HandleKeyDown);

    focusGrace_.setSingleShot(true);
    focusGrace_.setInterval(FocusLossGraceMs);
    connect(&focusGrace_, &QTimer::timeout, this, &MainWindow::FocusLossLasted);
    // Another program taking the focus pauses the game; the game's own
    // windows leave the application active and do not.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, &MainWindow::ApplicationStateChanged);
}

void MainWindow::Attach(GameSession& session)
{
    session_ = &session;
    connect(board_, &BoardWidget::MouseMovedOverBoard, this, [this] { session_->GetGame().MouseMovedOverBoard(); });
    ApplyLanguage(session.App().texts);
    ApplyColors(session.App().settings);
}

QLabel* MainWindow::LimitLabel() const
{
    return limit_;
}

void MainWindow::ApplyLanguage(const TextTable& texts)
{
    const MainWindowTexts shown = ComposeMainWindowTexts(texts);
    for (std::size_t k = 0; k < menu_.size(); ++k) {
        menu_[k]->SetCaption(FromUtf8(shown.buttonCaptions[k]));
        menu_[k]->SetTip(FromUtf8(shown.buttonTooltips[k]));
    }
    close_->SetTip(FromUtf8(shown.closeTooltip));
    minimize_->SetTip(FromUtf8(shown.minimizeTooltip));
    for (std::size_t i = 0; i < captions_.size(); ++i) {
        captions_[i]->setText(FromUtf8(shown.labels[i]));
    }
    StatusChanged();
}

void MainWindow::ApplyColors(const Settings& settings)
{
    const QColor color = ToQColor(settings.textColor);
    QPalette pal;
    pal.setColor(QPalette::WindowText, color);
    limit_->SetOutlineColor(ToQColor(settings.backColor));
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

void MainWindow::SetPicture(const SkinPicture& picture, const SharpPicture& pixmap)
{
    if (pixmap.IsNull()) {
        return;
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

void MainWindow::StatusChanged()
{
    if (session_ == nullptr) {
        return;
    }
    const GameState& s = session_->GetGame().State();
    const TextTable& texts = session_->App().texts;
    Show(score_, QString::number(s.score));
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        Show(lines_[i], s.introShowing ? QString() : QString::number(s.Counters()[i]));
    }
    Show(level_, s.level ? QString::number(*s.level) : QString());
    Show(limit_, s.limit ? QString::number(*s.limit) : QString());
    Show(status_, FromUtf8(StatusCaption(texts, s)));
    menu_[2]->SetCaption(FromUtf8(PauseButtonCaption(texts, s.paused)));
}

void MainWindow::HandleKeyDown(int keyCode, int shift)
{
    if (session_ != nullptr) {
        session_->KeyDown(keyCode, shift);
    }
}

void MainWindow::ApplicationStateChanged(Qt::ApplicationState state)
{
    applicationState_ = state;
    if (state != Qt::ApplicationActive) {
        focusGrace_.start();
    }
}

void MainWindow::FocusLossLasted()
{
    if (applicationState_ != Qt::ApplicationActive && session_ != nullptr) {
        session_->FocusLost();
    }
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    // An auto-repeated press is a key-down like any other: holding Left keeps moving.
    HandleKeyDown(VirtualKeyFor(event->key()), ShiftMaskFor(event->modifiers()));
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (session_ == nullptr || session_->Ending()) {
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
    session_->Run(Command::Quit);
}

} // namespace plumix
