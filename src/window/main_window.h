// The game's main window (the old Form1): borderless, 576 x 700, the board
// and preview painted by one BoardWidget, the score panel as labels on top.
// It owns the game and the Qt side of every port the game talks through.
#pragma once

#include "engine/game.h"
#include "window/app_state.h"
#include "window/dialogs_qt.h"

#include <QWidget>

#include <array>
#include <memory>

class QLabel;

namespace plumix {

class BoardWidget;
class QtTimers;

class MainWindow : public QWidget, private StatusView {
    Q_OBJECT
public:
    // `random` and `sound` may be given by tests; by default the window uses
    // a clock-seeded generator and no sound.
    explicit MainWindow(AppState& app, std::unique_ptr<RandomSource> random = nullptr,
                        SoundPort* sound = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    Game& GetGame() { return *game_; }
    BoardWidget& Board() { return *board_; }
    QtTimers& Timers() { return *timers_; }
    QtDialogs& Dialogs() { return dialogs_; }

    // Puts the text table's captions on the window.
    void ApplyLanguage();
    // Paints the window's texts in the text colour of the settings.
    void ApplyColors();

    // The key handler every control of the window forwards to.
    void HandleKeyDown(int keyCode, int shift);

    QLabel* ScoreLabel() const { return score_; }
    QLabel* LevelLabel() const { return level_; }
    QLabel* LinesLabel(int i) const { return lines_.at(static_cast<std::size_t>(i)); }
    QLabel* StatusLabel() const { return status_; }
    QLabel* LimitLabel() const { return limit_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void StatusChanged() override;

    AppState& app_;
    BoardWidget* board_ = nullptr;
    QtTimers* timers_ = nullptr;
    std::unique_ptr<RandomSource> random_;
    std::unique_ptr<SoundPort> silence_;
    QtDialogs dialogs_;
    std::unique_ptr<Game> game_;

    std::array<QLabel*, 7> captions_{};  // Label1(0..6)
    QLabel* score_ = nullptr;
    std::array<QLabel*, 4> lines_{};
    QLabel* level_ = nullptr;
    QLabel* limit_ = nullptr;
    QLabel* status_ = nullptr;
};

} // namespace plumix
