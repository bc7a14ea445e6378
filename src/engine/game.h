// The game engine: one game's state, the falling figure's moves, locking, the
// row-removal sequence, scoring and speed, pause, the crash and the level-won
// animations, and the end of a game.
// It is driven by timer ticks and key codes and talks to the world only
// through the ports it is given. Its members are defined by theme:
// game.cpp (timers, score and speed), game_flow.cpp (new game, figures,
// pause, questions), game_level.cpp (what the level mode asks of a game),
// game_moves.cpp (collision, fall, keys), game_painting.cpp,
// game_removal.cpp (lock and row removal) and game_over.cpp (the crash and
// level-won animations, and the end of a game). Start reading at Phase.
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

namespace plumix {

class LevelModeHooks;

inline constexpr int FastDropInterval = 30;
inline constexpr int TerminateInterval = 40;
inline constexpr int GameOnTimeInterval = 1000;
inline constexpr int CrashAniInterval = 10;
inline constexpr int VictoryInterval = 30;
inline constexpr int CrashTicks = 100;
inline constexpr int VictoryRows = BoardRows;  // the level-won animation paints one row a tick
inline constexpr int MaxClassicLevel = 10;
inline constexpr int PointsPerClassicLevel = 1000;
inline constexpr int IntervalAtLevelZero = 1070;
inline constexpr int IntervalStepPerLevel = 100;

// Points for removing 0, 1, 2, 3 or 4 rows after one lock; more earn none.
inline constexpr std::array<int, 5> RowPoints = {0, 10, 25, 50, 100};

// Fall interval in ms of a level: 1070 at level 0, 100 ms faster per level.
// Past level 10 the interval would reach 0 and below (a timer that never
// fires or one that spins), so faster levels fall at level 10's 70 ms.
int IntervalForLevel(int level);

// What the game is doing. Each phase but Idle is driven by one timer, which
// runs exactly while its phase does (and, for the fall, while not paused).
enum class Phase : std::uint8_t {
    Idle,      // no figure in play: no game, a level's window waits, the game is over
    Falling,   // the figure falls and the arrow keys move it (Figure)
    Clearing,  // the row removal after a lock (Terminate)
    Crashing,  // the game-over animation (CrashAni)
    Crashed,   // the crash is over; its end waits behind one of the game's windows
    Winning,   // the level-won animation (Victory)
    Won,       // the bricks are up; the next level waits behind one of the game's windows
};

// The removal machine's steps.
enum class ClearPhase : std::uint8_t { Search = 0, Flash = 1, Collapse = 2, Score = 3 };

// Everything a view shows or a test checks; the engine alone writes it.
struct GameState {
    GameMode gameMode = GameMode::None;
    // The mode of the game under way or, after its end, of the last one: the
    // counters keep showing what it left.
    GameMode playedMode = GameMode::None;
    Phase phase = Phase::Idle;
    bool paused = false;
    int fallInterval = 0;
    bool dropping = false;  // a fast drop runs for this figure

    int curFigure = 0;
    int figX = 0;
    int figY = 0;
    int nextFigure = 0;

    std::int64_t score = 0;
    std::optional<int> level;        // the Level label; empty before a game
    std::array<int, 4> lines{};      // Classic: the 1-, 2-, 3- and 4-row removals made
    std::array<int, 4> openQuotas{}; // level mode: the 1- to 4-row removals still required
    bool introShowing = false;       // the level intro hides the counters and the status
    std::optional<int> limit;        // seconds left of a survival task

    ClearPhase clearPhase = ClearPhase::Search;
    int clearRow = 0;
    int rowsCleared = 0;
    int crashStep = 0;    // crash frames shown
    int victoryStep = 0;  // brick rows painted

    bool FigureActive() const { return phase == Phase::Falling; }
    // The four counters of the main window.
    const std::array<int, 4>& Counters() const { return playedMode == GameMode::Levels ? openQuotas : lines; }
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
    // Asks a Yes/No question with every timer held until the answer, so the
    // game stands still behind the question and goes on exactly as it was.
    void AskThen(Question question, std::function<void(bool)> then);
    // The crash that ends the game is under way, or its end waits behind a
    // window: the game is over, and no command may drop its result.
    bool Ending() const;
    // The end a crash leads to, at once: when the program ends mid-crash.
    void FinishEnding();

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
    // The level is won: the falling figure stays where it is, the countdown
    // stops, and the bricks fill the board; then the level flow hears
    // VictoryFinished.
    void PlayVictory();
    // The crash animation, then the end of the game (in the level mode, the
    // level flow may go on with the next level instead).
    void GameOver();

private:
    void ResetGame();
    void SpawnFigure();
    void ResumeGame();
    void Enter(Phase phase);
    // Each timer runs exactly while the phase it drives does, unless a
    // question holds everything or the pause holds the fall and the countdown.
    void RunTimers();
    // An animation has run its course: what follows it, now or, behind one of
    // the game's windows or a question, once that closes.
    void AnimationOver(Phase held);
    void FollowAnimation();
    void CrashOver();

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
    void VictoryTick();
    void GameOnTimeTick();
    void Notify() { ports_.status.StatusChanged(); }

    Ports ports_;
    GameEndPort& ended_;
    const PlayOptions& options_;
    LevelModeHooks* levelHooks_ = nullptr;

    GameState state_;
    Board board_;
    FigureTable figures_{};
    bool questionOpen_ = false;
    bool ownWindowOpen_ = false;
};

} // namespace plumix
