// The game's main window (the old Form1): borderless, 576 x 700, the board
// and preview painted by one BoardWidget, the score panel as labels on top,
// six skinned menu buttons and the close and minimise buttons. It owns the
// game and the Qt side of every port the game talks through.
#pragma once

#include "engine/game.h"
#include "levels/level_flow.h"
#include "session/app_state.h"
#include "widgets/dialogs_qt.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class QLabel;

namespace plumix {

class BoardWidget;
class OutlinedLabel;
class Button;
class QtTimers;
class SmallButton;

class MainWindow : public QWidget, private StatusView, private LevelIntroPort {
    Q_OBJECT
public:
    // `random` may be given by tests; by default the window uses a
    // clock-seeded generator.
    explicit MainWindow(AppState& app, std::unique_ptr<RandomSource> random = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Where sound effects go; until set (or without an output) the game is silent.
    void SetSound(SoundPort* sound);

    Game& GetGame() { return *game_; }
    LevelFlow& Levels() { return *levelFlow_; }
    BoardWidget& Board() { return *board_; }
    QtTimers& Timers() { return *timers_; }
    QtDialogs& Dialogs() { return dialogs_; }
    Button& MenuButton(int k) { return *menu_.at(static_cast<std::size_t>(k)); }
    SmallButton& CloseButton() { return *close_; }
    SmallButton& MinimizeButton() { return *minimize_; }

    // Puts the text table's captions and tooltips on the window.
    void ApplyLanguage();
    // Paints the window's texts in the text colour of the settings.
    void ApplyColors();
    // Reads the chosen skin: its colours and its fourteen pictures. Whatever
    // is missing keeps what the window showed before.
    void LoadSkin();

    // The key handler every control of the window forwards to.
    void HandleKeyDown(int keyCode, int shift);
    void MenuAction(int k);
    // Asks while a game runs; then saves the record tables and the settings
    // and ends the program.
    void QuitAction();
    // The quit action without the question, for a system that ends the game
    // (a signal, the end of the session): records, then settings, saved.
    void EndWithoutAsking();
    // Another program took the focus (or gave it back).
    void ApplicationStateChanged(Qt::ApplicationState state);

    // The hi-scores window, which another part of the program provides; the
    // menu action opens it after the game has been paused.
    std::function<void()> showHiScores;

    QLabel* ScoreLabel() const { return score_; }
    QLabel* LevelLabel() const { return level_; }
    QLabel* LinesLabel(int i) const { return lines_.at(static_cast<std::size_t>(i)); }
    QLabel* StatusLabel() const { return status_; }
    QLabel* LimitLabel() const;
    QLabel* CaptionLabel(int i) const { return captions_.at(static_cast<std::size_t>(i)); }

signals:
    // The record tables and the settings have been written: the program ends.
    void Ended();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void StatusChanged() override;
    void ShowLevelIntro() override;
    // `mayAsk`: a failure to save the records is shown in a box to confirm.
    void SaveAndEnd(bool mayAsk = true);
    void ShowSettings();

    AppState& app_;
    BoardWidget* board_ = nullptr;
    QtTimers* timers_ = nullptr;
    std::unique_ptr<RandomSource> random_;
    std::unique_ptr<SoundPort> sound_;
    QtDialogs dialogs_;
    std::unique_ptr<Game> game_;
    std::unique_ptr<LevelFlow> levelFlow_;
    bool ending_ = false;
    Qt::ApplicationState applicationState_ = Qt::ApplicationActive;

    std::array<QLabel*, 7> captions_{};  // Label1(0..6)
    QLabel* score_ = nullptr;
    std::array<QLabel*, 4> lines_{};
    QLabel* level_ = nullptr;
    OutlinedLabel* limit_ = nullptr;
    QLabel* status_ = nullptr;
    std::array<Button*, 6> menu_{};  // Button1(0..5)
    SmallButton* close_ = nullptr;     // SmallButton1
    SmallButton* minimize_ = nullptr;  // SmallButton2
};

} // namespace plumix
