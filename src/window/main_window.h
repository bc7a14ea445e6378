// The game's main window: borderless, 576 x 700, the board and preview
// painted by one BoardWidget, the score panel as labels on top, six skinned
// menu buttons and the close and minimise buttons. It shows the session's
// state and hands the session every key, click and focus change.
#pragma once

#include "engine/ports.h"
#include "settings/settings.h"
#include "base/texts.h"

#include <QTimer>
#include <QWidget>

#include <array>

class QLabel;

namespace plumix {

class BoardWidget;
class Button;
class GameSession;
class OutlinedLabel;
class SharpPicture;
class SmallButton;
struct SkinPicture;

class MainWindow : public QWidget, public StatusView {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);

    // The session the window shows and hands its input to; until then the
    // window is a picture.
    void Attach(GameSession& session);

    BoardWidget& Board() { return *board_; }
    Button& MenuButton(int k) { return *menu_.at(static_cast<std::size_t>(k)); }
    SmallButton& CloseButton() { return *close_; }
    SmallButton& MinimizeButton() { return *minimize_; }

    // Puts the texts of `texts` on the window: captions and tooltips.
    void ApplyLanguage(const TextTable& texts);
    // Paints the window's texts in the text colour, the countdown's outline
    // in the back colour.
    void ApplyColors(const Settings& settings);
    // One of the skin's pictures; a null picture keeps the one shown before.
    void SetPicture(const SkinPicture& picture, const SharpPicture& pixmap);

    // The key handler every control of the window forwards to.
    void HandleKeyDown(int keyCode, int shift);
    // Another program took the focus (or gave it back).
    void ApplicationStateChanged(Qt::ApplicationState state);
    // The focus has been away for the grace period: the game pauses. The
    // grace timer calls it; tests call it in its place.
    void FocusLossLasted();

    void StatusChanged() override;

    QLabel* ScoreLabel() const { return score_; }
    QLabel* LevelLabel() const { return level_; }
    QLabel* LinesLabel(int i) const { return lines_.at(static_cast<std::size_t>(i)); }
    QLabel* StatusLabel() const { return status_; }
    QLabel* LimitLabel() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    GameSession* session_ = nullptr;
    BoardWidget* board_ = nullptr;
    QTimer focusGrace_;
    Qt::ApplicationState applicationState_ = Qt::ApplicationActive;

    std::array<QLabel*, 7> captions_{};  // Score, Level, 1 to 4 lines, Next
    QLabel* score_ = nullptr;
    std::array<QLabel*, 4> lines_{};
    QLabel* level_ = nullptr;
    OutlinedLabel* limit_ = nullptr;
    QLabel* status_ = nullptr;
    std::array<Button*, 6> menu_{};
    SmallButton* close_ = nullptr;
    SmallButton* minimize_ = nullptr;
};

} // namespace plumix
