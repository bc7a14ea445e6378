// The game engine: one game's state, the falling figure's moves, locking, the
// row-removal sequence, scoring and speed, pause, and the two-call game over.
// It is driven by timer ticks and key codes and talks to the world only
// through the ports it is given. Its members are defined by theme:
// game.cpp (timers, score and speed), game_flow.cpp (new game, figures,
// pause, questions), game_level.cpp (what the level mode asks of a game),
// game_moves.cpp (collision, fall, keys), game_painting.cpp,
// game_removal.cpp (lock and row removal) and game_over.cpp (crash
// animation and the end of a game).
#pragma once

#include "engine/board.h"
#include "engine/figures.h"
#include "engine/game_mode.h"
#include "engine/palette.h"
#include "engine/play_options.h"
#include "engine/ports.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

namespace plumix {

class LevelModeHooks;

inline constexpr int FastDropInterval = 30;
inline constexpr int TerminateInterval = 40;
inline constexpr int GameOnTimeInterval = 1000;
inline constexpr int CrashAniInterval = 10;
inline constexpr int VictoryInterval = 30;
inline constexpr int CrashTicks = 100;
inline constexpr int MaxClassicLevel = 10;
inline constexpr int PointsPerClassicLevel = 1000;
inline constexpr int IntervalAtLevelZero = 1070;
inline constexpr int IntervalStepPerLevel = 100;

// Points for removing 0, 1, 2, 3 or 4 rows after one lock.
inline constexpr std::array<int, 5> RowPoints = {0, 10, 25, 50, 100};

// Fall interval in ms of a level: 1070 at level 0, 100 ms faster per level.
// Past level 10 the interval would reach 0 and below (a timer that never
// fires or one that spins), so faster levels fall at level 10's 70 ms.
int IntervalForLevel(int level);

// The removal machine's steps.
enum class ClearPhase : std::uint8_t { Search = 0, Flash = 1, Collapse = 2, Score = 3 };

// Everything a view shows or a test checks; the engine alone writes it.
struct GameState {
    GameMode gameMode = GameMode::None;
    bool paused = false;
    int fallInterval = 0;
    bool figureActive = false;
    bool dropping = false;  // a fast drop runs for this figure

    int curFigure = 0;
    int figX = 0;
    int figY = 0;
    int nextFigure = 0;

    std::int64_t score = 0;
    std::optional<int> level;           // the Level label; empty before a game
    std::array<int, 4> lines{};         // Classic: 1-, 2-, 3- and 4-row removals;
                                        // level mode: the removals still required
    bool introShowing = false;          // the level intro hides the counters and the status
    std::optional<int> limit;           // seconds left of a survival task

    ClearPhase clearPhase = ClearPhase::Search;
    int clearRow = 0;
    int rowsCleared = 0;
    int crashStep = 0;
};

// What an ended game leaves for its record.
struct GameResult {
    GameMode mode = GameMode::None;
    std::int64_t score = 0;
    std::array<int, 4> lines{};  // Classic: the 1-, 2-, 3- and 4-row removals
    int level = 0;
};

class GameEndPort {
public:
    virtual ~GameEndPort() = default;
    // The crash animation is over and the game has ended.
    virtual void GameEnded(const GameResult& result) = 0;
};

// A level as the level mode starts it.
struct LevelStart {
    const FieldCells& field;
    int level = 0;
    std::array<int, 4> quotas{};  // removals of 1..4 rows required
    std::optional<int> seconds;   // a survival task
    int speed = 0;
};

class Game {
public:
    struct Ports {
        TimerPort& timers;
        RandomSource& random;
        CellPainter& cells;
        SoundPort& sound;
        StatusView& status;
        DialogPort& dialogs;
    };

    // Configures the five timers as the main window has them at start: only
    // `Figure` is enabled, with interval 0, so nothing fires. `options` are
    // read at every move and paint, and must outlive the game; `ended` hears
    // of every game that ends.
    Game(Ports ports, GameEndPort& ended, const PlayOptions& options);

    const GameState& State() const { return state_; }
    const Board& GetBoard() const { return board_; }

    // Events.
    void OnTimer(TimerId id);
    // The arrow keys and the random draw of the key handler; function keys are
    // the session's. Any code at any moment is safe.
    void KeyDown(int keyCode);
    // The mouse moved over a board cell: stirs the random sequence.
    void MouseMovedOverBoard();

    // Menu actions.
    void NewClassicGame();  // asks first while a game runs
    void StartClassicGame();
    void TogglePause();
    // Space, the pause button, or another program taking the focus.
    void PauseGame();
    // One of the game's own windows (hi-scores, settings, About) opens: the
    // game pauses, and what follows an animation that ends behind the window
    // waits until it closes. The game stays paused after it.
    void OwnWindowOpened();
    void OwnWindowClosed();
    // The crash that ends the game is under way, or its end waits behind a
    // window: the game is over, and no command may drop its result.
    bool Ending() const;
    // The end a crash leads to, at once: when the program ends mid-crash.
    void FinishEnding();
    // Asks a Yes/No question with every timer held until the answer, so the
    // game stands still behind the question and goes on exactly as it was.
    void AskThen(Question question, std::function<void(bool)> then);

    // Everything on the board and the preview again, after the pictures, the
    // grid or the preview setting changed.
    void RepaintCells();

    // Lays `field` into the well and shows it; the open rows above the field
    // are cleared, so nothing left there by a game before can block.
    void SetField(const FieldCells& field);
    // A new score; every change of the score goes through here, so the
    // Classic level follows it.
    void SetScore(std::int64_t score);

    // What the level mode (and only it) does to a game.
    void SetLevelHooks(LevelModeHooks* hooks) { levelHooks_ = hooks; }
    // A reset game in level mode, waiting for its first level.
    void BeginLevelGame();
    // The window of `level` is shown: its number, the field hidden under
    // bricks, the counters empty.
    void AwaitLevel(int level);
    // The level's window was dismissed: its field, counters and speed, and
    // its first figure, which falls at once; only behind one of the game's
    // own windows does the level start paused.
    void PlayLevel(const LevelStart& start);
    void SetOpenQuotas(std::array<int, 4> quotas);
    // The level ended: the falling figure stays where it is, the countdown
    // stops, and no resume lets either run again.
    void StopPlay();
    // What follows an animation: runs now, or, while one of the game's own
    // windows or a question is open, once it closes. A plain pause does not
    // hold it: a game that has ended must reach its table.
    void AfterAnimation(std::function<void()> next);
    // A row removal is under way (from the lock to its scoring tick).
    bool Clearing() const { return clearing_; }
    // The crash animation, then the end of the game; called again by the
    // animation's last tick.
    void GameOver();

private:
    void ResetGame();
    void SpawnFigure();
    void ResumeGame();
    // The falling figure falls and the countdown runs, unless the game is paused.
    void RunPlayTimers();
    void RunContinuation();
    // Whether a timer runs again once the open question is answered.
    void Hold(TimerId id, bool enabled);

    bool Blocked(int figure, int dx, int dy, int firstRow) const;
    bool BlockedBelow() const;
    bool BlockedHere() const;
    bool BlockedLeft() const;
    bool BlockedRight() const;
    bool BlockedRotated() const;

    void ClearBoard();
    void DrawFigure();
    void EraseFigure();
    void DrawNext();
    void RedrawBoard();
    void PaintFigure(bool draw);
    int EmptyPalette() const;

    void ScoreChange();
    void FallStep();
    void Lock();
    void TerminateStep();
    void CrashTick();
    void GameOnTimeTick();
    void Notify() { ports_.status.StatusChanged(); }

    Ports ports_;
    GameEndPort& ended_;
    const PlayOptions& options_;
    LevelModeHooks* levelHooks_ = nullptr;

    GameState state_;
    Board board_;
    FigureTable figures_{};
    // Which sequences own their timers, so a stray tick is ignored.
    bool clearing_ = false;
    bool crashing_ = false;
    bool questionOpen_ = false;
    bool ownWindowOpen_ = false;
    // Which timers an open question stopped and its answer starts again.
    std::array<bool, TimerCount> heldTimers_{};
    // What follows an animation that ended behind a window.
    std::function<void()> afterWindow_;
};

} // namespace plumix
