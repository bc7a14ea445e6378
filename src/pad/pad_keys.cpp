#include "pad/pad_keys.h"

#include "engine/keys.h"

namespace plumix {

namespace {

constexpr int StickInput = PadButtonCount;  // then the stick's Up, Down, Left, Right

std::optional<PadKey> Key(int code, int shift = 0)
{
    return PadKey{code, shift};
}

std::optional<PadKey> GameKey(PadButton button)
{
    switch (button) {
    case PadButton::Left: return Key(VkLeft);
    case PadButton::Right: return Key(VkRight);
    case PadButton::Up:
    case PadButton::A: return Key(VkUp);
    case PadButton::Down: return Key(VkDown);
    case PadButton::Start: return Key(VkSpace);
    case PadButton::X: return Key(VkF2);
    case PadButton::Y: return Key(VkF3);
    case PadButton::Back: return Key(VkF5);
    // The settings and About windows have no key in the pad's table; without
    // these a pad player could not open them.
    case PadButton::LeftShoulder: return Key(VkF8);
    case PadButton::RightShoulder: return Key(VkF1);
    case PadButton::B: break;
    }
    return std::nullopt;
}

// A player holding a direction means it as a held key, except that turning
// and the fast drop are one press each in the game.
bool Repeats(PadContext context, PadButton button)
{
    switch (button) {
    case PadButton::Left:
    case PadButton::Right: return true;
    case PadButton::Up:
    case PadButton::Down: return context != PadContext::Game;
    default: return false;
    }
}

} // namespace

std::optional<PadKey> KeyForButton(PadContext context, PadButton button)
{
    if (context == PadContext::Game) {
        return GameKey(button);
    }
    if (context == PadContext::AnyKey) {
        return Key(VkReturn);
    }
    switch (button) {
    case PadButton::Up: return Key(VkTab, ShiftMaskShift);
    case PadButton::Down: return Key(VkTab);
    // A list moves up and down; left and right stand for that.
    case PadButton::Left: return Key(context == PadContext::List ? VkUp : VkLeft);
    case PadButton::Right: return Key(context == PadContext::List ? VkDown : VkRight);
    // In a text box Space would type a blank: A accepts what is typed.
    case PadButton::A: return Key(context == PadContext::TextEntry ? VkReturn : VkSpace);
    case PadButton::B: return Key(VkEscape);
    default: break;
    }
    return std::nullopt;
}

void PadKeys::ButtonDown(int pad, PadButton button, PadContext context, std::int64_t now)
{
    Press(pad, static_cast<int>(button), button, context, now);
}

void PadKeys::ButtonUp(int pad, PadButton button)
{
    Release(pad, static_cast<int>(button));
}

void PadKeys::StickMoved(int pad, int axis, int value, PadContext context, std::int64_t now)
{
    if (axis != 0 && axis != 1) {
        return;
    }
    const PadButton negative = axis == 0 ? PadButton::Left : PadButton::Up;
    const PadButton positive = axis == 0 ? PadButton::Right : PadButton::Down;
    for (const PadButton direction : {negative, positive}) {
        const int input = StickInput + static_cast<int>(direction) - static_cast<int>(PadButton::Up);
        const long out = direction == negative ? -static_cast<long>(value) : value;
        bool held = false;
        for (const Held& h : held_) {
            held = held || (h.pad == pad && h.input == input);
        }
        if (!held && out >= StickPressAt) {
            // The stick's up is no key of the game: a flick up would turn the figure.
            if (context != PadContext::Game || direction != PadButton::Up) {
                Press(pad, input, direction, context, now);
            }
        } else if (held && out < StickReleaseBelow) {
            Release(pad, input);
        }
    }
}

void PadKeys::Unplugged(int pad)
{
    for (Held& h : held_) {
        if (h.pad == pad) {
            Release(pad, h.input);
        }
    }
    sink_.PadUnplugged();
}

void PadKeys::Tick(std::int64_t now)
{
    // A late tick gives one repeat, as a busy keyboard does, not a burst.
    if (repeatDue_ != Never && now >= repeatDue_) {
        sink_.KeyDown(repeating_.key, true);
        repeatDue_ += repeat_.intervalMs;
        if (repeatDue_ <= now) {
            repeatDue_ = now + repeat_.intervalMs;
        }
    }
}

void PadKeys::Press(int pad, int input, PadButton as, PadContext context, std::int64_t now)
{
    const std::optional<PadKey> key = KeyForButton(context, as);
    if (!key) {
        return;
    }
    for (Held& h : held_) {
        if (h.pad == pad && h.input == input) {
            return;  // SDL told us twice
        }
    }
    for (Held& h : held_) {
        if (h.pad < 0) {
            h = {pad, input, *key};
            if (Repeats(context, as)) {
                repeating_ = h;
                repeatDue_ = now + repeat_.delayMs;
            } else {
                repeating_ = {};
                repeatDue_ = Never;
            }
            sink_.KeyDown(*key, false);
            return;
        }
    }
}

void PadKeys::Release(int pad, int input)
{
    for (Held& h : held_) {
        if (h.pad == pad && h.input == input) {
            const PadKey key = h.key;
            h = {};
            if (repeating_.pad == pad && repeating_.input == input) {
                repeating_ = {};
                repeatDue_ = Never;
            }
            sink_.KeyUp(key);
            return;
        }
    }
}

} // namespace plumix
