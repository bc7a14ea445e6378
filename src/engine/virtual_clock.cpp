#include "engine/virtual_clock.h"

namespace plumix {

void VirtualClock::SetInterval(TimerId id, int ms)
{
    Timer& t = At(id);
    if (t.interval != ms) {
        t.interval = ms;
        t.due = now_ + ms;
    }
}

void VirtualClock::SetEnabled(TimerId id, bool enabled)
{
    Timer& t = At(id);
    if (t.enabled != enabled) {
        t.enabled = enabled;
        t.due = now_ + t.interval;
    }
}

std::int64_t VirtualClock::DueOf(TimerId id) const
{
    const Timer& t = At(id);
    return t.enabled && t.interval > 0 ? t.due : Never;
}

std::int64_t VirtualClock::NextDue() const
{
    std::int64_t best = Never;
    for (int i = 0; i < TimerCount; ++i) {
        const std::int64_t due = DueOf(static_cast<TimerId>(i));
        if (due < best) {
            best = due;
        }
    }
    return best;
}

bool VirtualClock::FireNext()
{
    std::int64_t best = Never;
    int which = -1;
    for (int i = 0; i < TimerCount; ++i) {
        const std::int64_t due = DueOf(static_cast<TimerId>(i));
        if (due < best) {
            best = due;
            which = i;
        }
    }
    if (which < 0) {
        return false;
    }
    const auto id = static_cast<TimerId>(which);
    Timer& t = At(id);
    now_ = t.due;
    t.due += t.interval;
    if (handler) {
        handler(id);
    }
    return true;
}

void VirtualClock::AdvanceTo(std::int64_t time)
{
    while (NextDue() <= time) {
        FireNext();
    }
    if (time > now_) {
        now_ = time;
    }
}

bool VirtualClock::RunUntil(const std::function<bool()>& done, std::int64_t limitMs)
{
    const std::int64_t end = now_ + limitMs;
    while (!done()) {
        if (NextDue() > end) {
            return false;
        }
        FireNext();
    }
    return true;
}

} // namespace plumix
