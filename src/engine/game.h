// The game engine: one game's state, the falling figure's moves, locking, the
// row-removal sequence, scoring and speed, pause, and the two-call game over.
// It is driven by timer ticks and key codes and talks to the world only
// through the ports it is given. Its members are defined by theme:
// game.cpp (timers, score and speed), game_flow.cpp (new game, figures,
// pause, questions), game_moves.cpp (collision, fall, keys),
// game_painting.cpp, game_removal.cpp (lock and row removal) and
// game_over.cpp (crash animation and the end of a game).
#pragma once

#include "engine/board.h"
#include "engine/figures.h"
#include "engine/palette.h"
#include "engine/ports.h"
#include "base/texts.h"

#include <array>
#include <functional>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plumix {

class LevelModeHooks;
struct RecordTables;
struct Settings;

inline constexpr int GameModeNone = 0;
inline constexpr int GameModeClassic = 1;
inline constexpr int GameModeLevels = 2;

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

// Shown when a game ends without a place in its record table.
inline constexpr std::string_view GameOverText =
    "         G   A   M   E       O   V   E   R         ";

// Fall interval in ms of a level: 1070 at level 0, 100 ms faster per level.
// Past level 10 the interval would reach 0 and below (a timer that never
// fires or one that spins), so faster levels fall at level 10's 70 ms.
int IntervalForLevel(int level);

// The removal machine's steps.
enum class ClearPhase : std::uint8_t { Search = 0, Flash = 1, Collapse = 2, Score = 3 };

// Everything a view shows or a test checks; the engine alone writes it.
struct GameState {
    int gameMode = GameModeNone;
    bool paused = false;
    int fallInterval = 0;
    bool figureActive = false;
    bool dropping = false;

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
    int classicLevel = 0;

    ClearPhase clearPhase = ClearPhase::Search;
    int clearRow = 0;
    int rowsCleared = 0;
    int crashStep = 0;

    int endedMode = GameModeNone;
    int recordPlace = 0;
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
    // `Figure` is enabled, with interval 0, so nothing fires.
    Game(Ports ports, const Settings& settings, const TextTable& texts, RecordTables& records);

    void SetLevelHooks(LevelModeHooks* hooks) { levelHooks_ = hooks; }

    const GameState& State() const { return state_; }
    const Board& GetBoard() const { return board_; }
    // The level flow lays a level's starting field (bricks) out here.
    Board& MutableBoard() { return board_; }
    const FigureTable& Figures() const { return figures_; }
    const TextTable& Texts() const { return texts_; }

    // Events.
    void OnTimer(TimerId id);
    // The arrow keys and the random draw of the key handler; function keys are
    // the window's. Any code at any moment is safe.
    void KeyDown(int keyCode);
    // The mouse moved over a board cell: stirs the random sequence.
    void MouseMovedOverBoard();

    // Menu actions.
    void NewClassicGame();  // asks first while a game runs
    void TogglePause();
    // Asks a Yes/No question with every timer held until the answer, so the
    // game stands still behind the question and goes on exactly as it was.
    void AskThen(std::string_view prompt, std::string_view title, std::function<void(bool)> then);

    // What the level flow sets: the level number, the open quotas, the seconds
    // left and the speed of the level being played.
    void BeginLevelGame();  // a reset game in level mode at level 0
    void SetLevelCounters(int level, std::array<int, 4> openQuotas, std::optional<int> limit);
    void SetIntroShowing(bool showing);
    void SetFallInterval(int ms) { state_.fallInterval = ms; }
    // The level ended: the falling figure stays where it is, the countdown
    // stops, and no resume lets either run again.
    void StopPlay();
    // The falling figure falls and the countdown runs, unless the game is
    // paused: a level that starts while the game is paused waits for resume.
    void RunPlayTimers();
    // Runs `next` now, or, while the game is paused, once the player resumes
    // it: an animation may finish behind a window, what follows it waits.
    void ContinueWhenResumed(std::function<void()> next);
    // A row removal is under way (from the lock to its scoring tick).
    bool Clearing() const { return clearing_; }

    // Game flow.
    void ResetGame();
    void StartClassicGame();
    void SpawnFigure();
    void PauseGame();
    void ResumeGame();
    void GameOver();
    void SetScore(std::int64_t score);

    // Painting from the model.
    void ClearBoard();
    void DrawFigure();
    void EraseFigure();
    void DrawNext();
    void RedrawBoard();
    // Everything on the board and the preview again, after the pictures or
    // the grid changed: the field (or the bricks that hide it while the level
    // intro waits), the falling figure, the preview.
    void RepaintCells();

    // Collision tests: true when blocked.
    bool BlockedBelow() const;
    bool BlockedHere() const;
    bool BlockedLeft() const;
    bool BlockedRight() const;
    bool BlockedRotated() const;

private:
    bool Blocked(int figure, int dx, int dy, int firstRow) const;
    void PaintFigure(bool draw);
    int EmptyPalette() const;
    void ScoreChange();
    void FallStep();
    void Lock();
    void TerminateStep();
    void CrashTick();
    void GameOnTimeTick();
    void Notify() { ports_.status.StatusChanged(); }
    // Whether a timer runs again once the open question is answered.
    void Hold(TimerId id, bool enabled);
    void RunContinuation();

    Ports ports_;
    const Settings& settings_;
    const TextTable& texts_;
    RecordTables& records_;
    LevelModeHooks* levelHooks_ = nullptr;

    GameState state_;
    Board board_;
    FigureTable figures_{};
    // Which sequences own their timers, so a stray tick is ignored.
    bool clearing_ = false;
    bool crashing_ = false;
    bool questionOpen_ = false;
    // Which timers an open question stopped and its answer starts again.
    std::array<bool, TimerCount> heldTimers_{};
    // What follows an animation that ended while the game was paused.
    std::function<void()> afterResume_;
};

} // namespace plumix
