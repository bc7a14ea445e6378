#include "window/main_window.h"

#include "engine/clock_seeded_random.h"
#include "window/board_widget.h"
#include "window/builtin_pictures_qt.h"
#include "window/key_map_qt.h"
#include "window/timers_qt.h"

#include <QFont>
#include <QKeyEvent>
#include <QLabel>

namespace plumix {

namespace {

class NoSound : public SoundPort {
public:
    void PlaySfx(std::string_view) override {}
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

QLabel* NewLabel(QWidget* parent, QRect geometry, double points, Qt::Alignment align)
{
    auto* label = new QLabel(parent);
    label->setGeometry(geometry);
    label->setFont(LabelFont(points));
    label->setAlignment(align | Qt::AlignVCenter);
    label->setTextFormat(Qt::PlainText);
    label->setAttribute(Qt::WA_TranslucentBackground);
    // Clicks and drags go to the window below; the labels only show.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

constexpr double CaptionPoints = 15.75;
constexpr double LimitPoints = 26.25;
constexpr double StatusPoints = 72;

} // namespace

MainWindow::MainWindow(AppState& app, std::unique_ptr<RandomSource> random, SoundPort* sound, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      app_(app),
      random_(random ? std::move(random) : std::make_unique<ClockSeededRandom>()),
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
    for (int i = 0; i < 4; ++i) {
        captions_[static_cast<std::size_t>(2 + i)] =
            NewLabel(this, {392, 248 + 48 * i, 145, 20}, CaptionPoints, left);
        lines_[static_cast<std::size_t>(i)] = NewLabel(this, {456, 272 + 48 * i, 81, 20}, CaptionPoints, right);
    }
    captions_[1] = NewLabel(this, {392, 440, 145, 20}, CaptionPoints, left);
    level_ = NewLabel(this, {448, 464, 89, 20}, CaptionPoints, right);
    limit_ = NewLabel(this, {32, 48, 321, 33}, LimitPoints, Qt::AlignHCenter);
    status_ = NewLabel(this, {32, 296, 321, 105}, StatusPoints, Qt::AlignHCenter);

    timers_ = new QtTimers(this);
    if (sound == nullptr) {
        silence_ = std::make_unique<NoSound>();
        sound = silence_.get();
    }
    game_ = std::make_unique<Game>(Game::Ports{*timers_, *random_, *board_, *sound, *this, dialogs_},
                                   app_.settings, app_.texts, app_.records);
    timers_->SetHandler([this](TimerId id) { game_->OnTimer(id); });
    connect(board_, &BoardWidget::MouseMovedOverBoard, this, [this] { game_->MouseMovedOverBoard(); });

    ApplyLanguage();
    ApplyColors();
    StatusChanged();
}

MainWindow::~MainWindow()
{
    // The timers call into the game: silence them before the game goes.
    timers_->SetHandler(nullptr);
}

void MainWindow::ApplyLanguage()
{
    const int captionTexts[7] = {121, 126, 122, 123, 124, 125, 120};
    for (int i = 0; i < 7; ++i) {
        captions_[static_cast<std::size_t>(i)]->setText(
            QString::fromStdString(TextOf(app_.texts, captionTexts[i])));
    }
    StatusChanged();
}

void MainWindow::ApplyColors()
{
    const Rgb c = app_.settings.textColor;
    QPalette pal;
    pal.setColor(QPalette::WindowText, QColor(c.red, c.green, c.blue));
    for (QLabel* label : {limit_, score_, level_, status_}) {
        label->setPalette(pal);
    }
    for (QLabel* label : captions_) {
        label->setPalette(pal);
    }
    for (QLabel* label : lines_) {
        label->setPalette(pal);
    }
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
    for (int i = 0; i < 4; ++i) {
        show(lines_[static_cast<std::size_t>(i)], QString::number(s.lines[static_cast<std::size_t>(i)]));
    }
    show(level_, s.level ? QString::number(*s.level) : QString());
    show(limit_, s.limit ? QString::number(*s.limit) : QString());
    show(status_, s.paused ? QString::fromStdString(TextOf(app_.texts, 102)) : QString());
}

void MainWindow::HandleKeyDown(int keyCode, int shift)
{
    (void)shift;
    game_->KeyDown(keyCode);
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    // An auto-repeated press is a key-down like any other: holding Left keeps moving.
    HandleKeyDown(VirtualKeyFor(event->key()), ShiftMaskFor(event->modifiers()));
}

} // namespace plumix
