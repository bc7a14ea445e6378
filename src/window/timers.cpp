#include "window/timers.h"

namespace plumix {

QtTimers::QtTimers(QObject* parent) : QObject(parent)
{
    for (int i = 0; i < TimerCount; ++i) {
        auto* timer = new QTimer(this);
        // The row flash and the animations run at 10 to 40 ms; a coarse timer
        // may be 5 % late on each tick, which a player sees as uneven steps.
        timer->setTimerType(Qt::PreciseTimer);
        const auto id = static_cast<TimerId>(i);
        connect(timer, &QTimer::timeout, this, [this, id] {
            if (handler_) {
                handler_(id);
            }
        });
        slots_[static_cast<std::size_t>(i)].timer = timer;
    }
}

void QtTimers::Apply(Slot& s)
{
    if (s.enabled && s.interval > 0) {
        s.timer->start(s.interval);  // restarts the count, as a new interval should
    } else {
        s.timer->stop();
    }
}

void QtTimers::SetInterval(TimerId id, int ms)
{
    Slot& s = slot(id);
    if (s.interval == ms) {
        return;
    }
    s.interval = ms;
    Apply(s);
}

void QtTimers::SetEnabled(TimerId id, bool enabled)
{
    Slot& s = slot(id);
    if (s.enabled == enabled) {
        return;
    }
    s.enabled = enabled;
    Apply(s);
}

bool QtTimers::AnyActive() const
{
    for (const Slot& s : slots_) {
        if (s.timer->isActive()) {
            return true;
        }
    }
    return false;
}

} // namespace plumix
