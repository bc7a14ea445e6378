// The few things the rules ask of the outside world. The Qt layer implements
// them for the real game; tests implement them with a virtual clock, a fixed
// random sequence and recorders.
#pragma once

#include <functional>
#include <string_view>

namespace plumix {

// The five timers of the main window, by their old names.
enum class TimerId {
    Figure,      // the falling figure's steps (its fall interval, 30 ms in a fast drop)
    GameOnTime,  // the survival countdown of a level, one second a tick
    Terminate,   // the row removal after a lock: search, flash, collapse, score
    Victory,     // the level-won animation: one row of bricks a tick
    CrashAni,    // the game-over animation: every cell a random colour a tick
};
inline constexpr int TimerCount = 5;

// Named timers with an interval and an enabled flag, with the semantics of the
// old window timers: an enabled timer fires every `interval` ms from the moment
// it was enabled; an interval of 0 never fires; enabling an enabled timer changes
// nothing; a new interval restarts the count of an enabled timer.
class TimerPort {
public:
    virtual ~TimerPort() = default;
    virtual void SetInterval(TimerId id, int ms) = 0;
    virtual int Interval(TimerId id) const = 0;
    virtual void SetEnabled(TimerId id, bool enabled) = 0;
    virtual bool IsEnabled(TimerId id) const = 0;
};

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // A uniform number in [0, 1).
    virtual double Next() = 0;
};

// The cell model: every paint stores a palette index (Block(0..11)) for one cell.
class CellPainter {
public:
    virtual ~CellPainter() = default;
    virtual void PaintBoardCell(int index, int palette) = 0;    // row * 10 + column, 0..199
    virtual void PaintPreviewCell(int index, int palette) = 0;  // row * 4 + column, 0..15
};

// The game's three sound effects, by the moment they mark (their files keep
// older names: Drop.wav, Rotate.wav and Clear.wav, in this order).
enum class SoundEffect {
    Landing,   // the figure locks into the board
    FastDrop,  // a fast drop starts
    RowFlash,  // a full row flashes before it goes
};
inline constexpr int SoundEffectCount = 3;

class SoundPort {
public:
    virtual ~SoundPort() = default;
    virtual void PlaySfx(SoundEffect effect) = 0;
};

// Where the game's state is shown: told whenever the score, the counters, the
// level, the seconds left or the pause state change, so the view can refresh.
class StatusView {
public:
    virtual ~StatusView() = default;
    virtual void StatusChanged() = 0;
};

// The questions the game asks; the view words them in the player's language.
enum class Question {
    NewGame,  // a game runs and another is to start
    Quit,     // a game runs and the program is to end
};

// Message boxes and questions. None of them blocks: the view answers through
// the callback once the player has dismissed the window.
class DialogPort {
public:
    virtual ~DialogPort() = default;
    // A Yes/No question; `answer` is called once, with true for Yes.
    virtual void Ask(Question question, std::function<void(bool)> answer) = 0;
    // A box with one OK button and the program's title; `closed`, if any,
    // runs once the player has dismissed it.
    virtual void ShowMessage(std::string_view text, std::function<void()> closed = {}) = 0;
    // The same with the critical-stop icon, for what went wrong.
    virtual void ShowError(std::string_view text, std::function<void()> closed = {}) = 0;
};

} // namespace plumix
