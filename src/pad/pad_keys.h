// The pad's buttons and stick as the keys of the key table: a press is a key
// press, a held direction repeats as a held key does, and where the focus
// rests decides the key, so every window answers the pad as it answers the
// keyboard.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <optional>

namespace plumix {

// The buttons the game reads, by their place on the pad (A is the south
// button, whatever its label); the four directions of the D-pad.
enum class PadButton { A, B, X, Y, Back, Start, LeftShoulder, RightShoulder, Up, Down, Left, Right };
inline constexpr int PadButtonCount = 12;

// Where the pad's keys go: the main window, a window of buttons and boxes, a
// list or drop-down list with the focus, a text box with the focus, or a
// window with nothing to focus that waits for any key.
enum class PadContext { Game, Dialog, List, TextEntry, AnyKey };

// A key code and shift mask as the rules speak them (engine/keys.h).
struct PadKey {
    int keyCode = 0;
    int shift = 0;
    friend bool operator==(PadKey, PadKey) = default;
};

inline constexpr int VkTab = 9;
inline constexpr int VkReturn = 13;

// The key a button gives in `context`; none for a button that does nothing there.
std::optional<PadKey> KeyForButton(PadContext context, PadButton button);

// The stick's axes run from -32768 to 32767. A resting stick reads a few
// thousand off centre, a worn one up to a quarter of the way; a direction is
// held from half way out and let go below 40 %, so a stick trembling at the
// line does not press again and again.
inline constexpr int StickPressAt = 16384;
inline constexpr int StickReleaseBelow = 13107;

// The desktop's key repeat: the first repeat after `delayMs`, then one every `intervalMs`.
struct KeyRepeat {
    int delayMs = 500;
    int intervalMs = 33;
};

// Where the keys go, as the view delivers them.
class PadKeySink {
public:
    virtual ~PadKeySink() = default;
    virtual void KeyDown(PadKey key, bool autoRepeat) = 0;
    virtual void KeyUp(PadKey key) = 0;
    // A pad went away: a game running pauses as when the focus leaves it.
    virtual void PadUnplugged() = 0;
};

// Every connected pad's held buttons and stick directions. Times are
// milliseconds on any steady clock; the view asks for NextDue and calls Tick then.
class PadKeys {
public:
    static constexpr std::int64_t Never = std::numeric_limits<std::int64_t>::max();

    PadKeys(PadKeySink& sink, KeyRepeat repeat) : sink_(sink), repeat_(repeat) {}

    void ButtonDown(int pad, PadButton button, PadContext context, std::int64_t now);
    void ButtonUp(int pad, PadButton button);
    // The left stick's position on one axis (0 across, 1 up and down, down positive).
    void StickMoved(int pad, int axis, int value, PadContext context, std::int64_t now);
    void Unplugged(int pad);

    // The repeats due by `now`.
    void Tick(std::int64_t now);
    std::int64_t NextDue() const { return repeatDue_; }

private:
    // A button or one of the stick's four directions, held on one pad.
    struct Held {
        int pad = -1;
        int input = -1;  // a PadButton, or PadButtonCount + a direction of the stick
        PadKey key;
    };
    void Press(int pad, int input, PadButton as, PadContext context, std::int64_t now);
    void Release(int pad, int input);

    PadKeySink& sink_;
    KeyRepeat repeat_;
    static constexpr std::size_t MaxHeld = 32;
    std::array<Held, MaxHeld> held_{};
    // Only the last key pressed repeats, as on a keyboard.
    Held repeating_;
    std::int64_t repeatDue_ = Never;
};

} // namespace plumix
