#include "scores/view/hiscores_window.h"

#include "scores/view/scores_look.h"
#include "widgets/dialogs.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>

namespace plumix {

namespace {

struct ColumnLook {
    int left;
    int width;
    Qt::Alignment align;
};

// In column order of HiScoresColumn.
constexpr std::array<ColumnLook, HiScoresColumns> Columns = {{
    {8, 47, Qt::AlignRight},      // place
    {56, 95, Qt::AlignLeft},      // player
    {152, 71, Qt::AlignRight},    // score
    {224, 39, Qt::AlignRight},    // 1-row removals
    {264, 39, Qt::AlignRight},    // 2
    {304, 39, Qt::AlignRight},    // 3
    {344, 39, Qt::AlignRight},    // 4
    {384, 63, Qt::AlignRight},    // level
    {448, 71, Qt::AlignHCenter},  // date
    {520, 265, Qt::AlignLeft},    // comment
}};

constexpr int HeaderTop = 40;
constexpr int HeaderHeight = 16;
constexpr int FirstRowTop = 56;
constexpr int RowPitch = 16;
constexpr int RowHeight = 15;

const char* const RowProperty = "plumixRow";

QLabel* NewLabel(QWidget* parent, QRect geometry, Qt::Alignment align)
{
    auto* label = new QLabel(parent);
    label->setGeometry(geometry);
    label->setFont(ScoresFont());
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(align | Qt::AlignVCenter);
    return label;
}

} // namespace

HiScoresWindow::HiScoresWindow(const Settings& settings, const TextTable& texts, RecordBook& book,
                               std::function<SyncReport()> synchronize, QWidget* owner)
    : QDialog(owner), settings_(settings), texts_(texts), book_(book), synchronize_(std::move(synchronize))
{
    setFixedSize(817, 419);

    classic_ = new QRadioButton(this);
    classic_->setGeometry(160, 8, 241, 26);
    level_ = new QRadioButton(this);
    level_->setGeometry(424, 8, 241, 26);
    classic_->setChecked(true);
    for (QRadioButton* option : {classic_, level_}) {
        option->setFont(ScoresFont());
        connect(option, &QRadioButton::toggled, this, [this](bool on) {
            if (on) {
                ShowTable();
            }
        });
    }

    for (std::size_t c = 0; c < Columns.size(); ++c) {
        const ColumnLook& look = Columns[c];
        headers_[c] = NewLabel(this, {look.left, HeaderTop, look.width, HeaderHeight}, Qt::AlignHCenter);
        for (int r = 0; r < HiScoresRows; ++r) {
            QLabel* cell = NewLabel(this, {look.left, FirstRowTop + RowPitch * r, look.width, RowHeight}, look.align);
            cell->setAutoFillBackground(true);
            cell->setMouseTracking(true);
            cell->setProperty(RowProperty, r);
            cell->installEventFilter(this);
            cells_[static_cast<std::size_t>(r)][c] = cell;
        }
    }

    scroll_ = new QScrollBar(Qt::Vertical, this);
    scroll_->setGeometry(792, 56, 17, 321);
    scroll_->setRange(FirstTopPlace, LastTopPlace);
    scroll_->setSingleStep(ScrollSmallStep);
    scroll_->setPageStep(ScrollLargeStep);
    scroll_->setValue(FirstTopPlace);
    // Tab stops at it, so a pad player can scroll too.
    scroll_->setFocusPolicy(Qt::StrongFocus);
    // Tracking is on: every step of a drag repaints the rows.
    connect(scroll_, &QScrollBar::valueChanged, this, &HiScoresWindow::ShowTable);

    sync_ = new QPushButton(this);
    sync_->setGeometry(8, 384, 153, 25);
    sync_->setFont(ScoresFont());
    // Enter closes the window, as in every other dialog, even when the
    // focus rests on Synchronizing: it writes into another installation's file.
    sync_->setAutoDefault(false);
    connect(sync_, &QPushButton::clicked, this, &HiScoresWindow::SyncAction);
    close_ = new QPushButton(this);
    close_->setGeometry(688, 384, 121, 25);
    close_->setFont(ScoresFont());
    close_->setDefault(true);
    connect(close_, &QPushButton::clicked, this, &HiScoresWindow::CloseAction);

    Activate();
}

QLabel* HiScoresWindow::Cell(int row, HiScoresColumn column) const
{
    return cells_.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column));
}

void HiScoresWindow::ShowWindow()
{
    Activate();
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    if (QWidget* owner = parentWidget()) {
        QRect placed(owner->geometry().center() - rect().center(), size());
        // Centred over a window near the screen's edge it would hang off it.
        if (const QScreen* screen = owner->screen()) {
            const QRect free = screen->availableGeometry();
            placed.moveLeft(std::max(free.left(), std::min(placed.left(), free.right() + 1 - placed.width())));
            placed.moveTop(std::max(free.top(), std::min(placed.top(), free.bottom() + 1 - placed.height())));
        }
        move(placed.topLeft());
    }
    open();
    close_->setFocus();
}

void HiScoresWindow::Activate()
{
    const HiScoresTexts texts = ComposeHiScoresTexts(texts_);
    for (std::size_t c = 0; c < headers_.size(); ++c) {
        headers_[c]->setText(FromUtf8(texts.headers[c]));
    }
    sync_->setText(LiteralCaption(texts.syncCaption));
    sync_->setToolTip(PlainTooltip(texts.syncTooltip));
    close_->setText(LiteralCaption(texts.closeCaption));
    close_->setToolTip(PlainTooltip(texts.closeTooltip));
    classic_->setText(LiteralCaption(texts.classicOption));
    level_->setText(LiteralCaption(texts.levelOption));
    setWindowTitle(FromUtf8(texts.title));
    PaintWithColors(*this, settings_.textColor, settings_.backColor);
    {
        const QSignalBlocker blockClassic(classic_);
        const QSignalBlocker blockLevel(level_);
        (TableForEndedMode(book_.LastEndedMode()) == GameMode::Levels ? level_ : classic_)->setChecked(true);
    }
    ShowTable();
}

GameMode HiScoresWindow::ChosenTable() const
{
    return level_->isChecked() ? GameMode::Levels : GameMode::Classic;
}

void HiScoresWindow::ShowTable()
{
    const GameMode table = ChosenTable();
    for (int r = 0; r < HiScoresRows; ++r) {
        const HiScoresRow row = HiScoresRowAt(book_.Tables(), table, scroll_->value(), r);
        auto& cells = cells_[static_cast<std::size_t>(r)];
        for (std::size_t c = 0; c < cells.size(); ++c) {
            cells[c]->setText(FromUtf8(row.texts[c]));
        }
        cells[static_cast<std::size_t>(HiScoresColumn::Comment)]->setToolTip(
            PlainTooltip(row.Text(HiScoresColumn::Comment)));
        rowColors_[static_cast<std::size_t>(r)] = row.color;
        PaintRow(r, row.color, r == highlighted_ ? HighlightedRowBack : RowBack);
    }
}

void HiScoresWindow::HighlightRow(int row)
{
    if (row == highlighted_) {
        return;
    }
    const int previous = highlighted_;
    highlighted_ = row;
    if (previous >= 0 && previous < HiScoresRows) {
        PaintRow(previous, rowColors_[static_cast<std::size_t>(previous)], RowBack);
    }
    if (row >= 0 && row < HiScoresRows) {
        PaintRow(row, rowColors_[static_cast<std::size_t>(row)], HighlightedRowBack);
    }
}

void HiScoresWindow::PaintRow(int row, Rgb text, Rgb back)
{
    for (QLabel* cell : cells_[static_cast<std::size_t>(row)]) {
        QPalette pal = cell->palette();
        pal.setColor(QPalette::WindowText, ToQColor(text));
        pal.setColor(QPalette::Window, ToQColor(back));
        cell->setPalette(pal);
    }
}

void HiScoresWindow::CloseAction()
{
    accept();
}

void HiScoresWindow::SyncAction()
{
    const SyncReport synced = synchronize_();
    if (synced.ok) {
        ShowTable();
    }
    const auto report = [this, ok = synced.ok] {
        const HiScoresTexts texts = ComposeHiScoresTexts(texts_);
        QtDialogs dialogs(this, texts_);
        if (ok) {
            dialogs.ShowMessage(texts.syncPassed);
        } else {
            dialogs.ShowError(texts.syncFailed);
        }
    };
    // A damaged file kept first, then how the synchronizing went.
    if (!synced.damaged.empty()) {
        QtDialogs(this, texts_).ShowError(synced.damaged, report);
    } else {
        report();
    }
}

bool HiScoresWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove) {
        const QVariant row = watched->property(RowProperty);
        if (row.isValid()) {
            HighlightRow(row.toInt());
        }
    }
    return QDialog::eventFilter(watched, event);
}

void HiScoresWindow::keyPressEvent(QKeyEvent* event)
{
    // Esc closes the window whatever has the focus, as Close does.
    if (event->matches(QKeySequence::Cancel)) {
        CloseAction();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace plumix
