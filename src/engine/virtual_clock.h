// Game time without a real clock, for the automatic player and the tests: the
// five timers on a virtual clock that jumps from one due tick to the next, so
// a level of minutes plays in milliseconds. Due ticks fire in time order, one
// handler at a time, as the window's timers do.
#pragma once

#include "engine/ports.h"

#include <array>
#include <cstdint>
#include <functional>
#include <limits>

namespace plumix {

class VirtualClock : public TimerPort {
public:
    static constexpr std::int64_t Never = std::numeric_limits<std::int64_t>::max();

    std::function<void(TimerId)> handler;

    void SetInterval(TimerId id, int ms) override;
    int Interval(TimerId id) const override { return At(id).interval; }
    void SetEnabled(TimerId id, bool enabled) override;
    bool IsEnabled(TimerId id) const override { return At(id).enabled; }

    std::int64_t Now() const { return now_; }
    // When the timer fires next; Never when it is off.
    std::int64_t DueOf(TimerId id) const;
    // The earliest tick of any timer; Never when none runs.
    std::int64_t NextDue() const;
    // Fires the earliest due tick (time moves to it); false when none runs.
    bool FireNext();
    // Fires every tick due up to `time`, then stands at `time`.
    void AdvanceTo(std::int64_t time);
    // Fires every tick due within `ms`, then stands there.
    void Advance(std::int64_t ms) { AdvanceTo(now_ + ms); }
    bool Running(TimerId id) const { return DueOf(id) != Never; }
    // Fires ticks until `done` holds; false if time ran out or nothing runs.
    bool RunUntil(const std::function<bool()>& done, std::int64_t limitMs = 600000);

private:
    struct Timer {
        int interval = 0;
        bool enabled = false;
        std::int64_t due = 0;
    };
    Timer& At(TimerId id) { return timers_[static_cast<std::size_t>(id)]; }
    const Timer& At(TimerId id) const { return timers_[static_cast<std::size_t>(id)]; }

    std::array<Timer, TimerCount> timers_{};
    std::int64_t now_ = 0;
};

} // namespace plumix
