// The hi-scores window: one record table twenty places at a
// time, in each player's colour, a scroll bar over all 100 places, the choice
// of table, synchronizing with the shared file, and Close. Created once and
// only hidden when closed, so the scroll position stays for the run.
#pragma once

#include "scores/hiscores_table.h"
#include "scores/record_book.h"
#include "scores/synchronize.h"
#include "settings/settings.h"
#include "base/texts.h"

#include <QDialog>

#include <array>
#include <functional>

class QLabel;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace plumix {

class HiScoresWindow : public QDialog {
    Q_OBJECT
public:
    // The window opens on the table of the game that ended last in `book`;
    // "Synchronizing" runs `synchronize`, which merges and writes the shared file.
    HiScoresWindow(const Settings& settings, const TextTable& texts, RecordBook& book,
                   std::function<SyncReport()> synchronize, QWidget* owner);

    // Shows the window window-modal over its owner, centred on it, with the
    // texts, colours and table choice of this moment; brought up to date when
    // it is open already.
    void ShowWindow();

    // Fills the twenty rows from the chosen table and the scroll position.
    void ShowTable();
    void HighlightRow(int row);

    QLabel* Cell(int row, HiScoresColumn column) const;
    QRadioButton* ClassicOption() const { return classic_; }
    QRadioButton* LevelOption() const { return level_; }
    QScrollBar* ScrollBar() const { return scroll_; }
    QPushButton* SyncButton() const { return sync_; }
    QPushButton* CloseButton() const { return close_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Activate();
    void CloseAction();
    void SyncAction();
    GameMode ChosenTable() const;
    void PaintRow(int row, Rgb text, Rgb back);

    const Settings& settings_;
    const TextTable& texts_;
    RecordBook& book_;
    std::function<SyncReport()> synchronize_;

    QRadioButton* classic_ = nullptr;
    QRadioButton* level_ = nullptr;
    std::array<QLabel*, HiScoresColumns> headers_{};
    std::array<std::array<QLabel*, HiScoresColumns>, HiScoresRows> cells_{};
    std::array<Rgb, HiScoresRows> rowColors_{};
    QScrollBar* scroll_ = nullptr;
    QPushButton* sync_ = nullptr;
    QPushButton* close_ = nullptr;
    int highlighted_ = -1;
};

} // namespace plumix
