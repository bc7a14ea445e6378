// The five game timers as QTimers, with the rules' timer semantics: an
// interval of 0 never fires (a 0 ms QTimer would fire on every pass of the
// event loop and spin a core), and enabling an enabled timer changes nothing.
#pragma once

#include "engine/ports.h"

#include <QObject>
#include <QTimer>

#include <array>
#include <functional>

namespace plumix {

class QtTimers : public QObject, public TimerPort {
    Q_OBJECT
public:
    using Handler = std::function<void(TimerId)>;
    explicit QtTimers(QObject* parent = nullptr);
    void SetHandler(Handler handler) { handler_ = std::move(handler); }

    void SetInterval(TimerId id, int ms) override;
    int Interval(TimerId id) const override { return slot(id).interval; }
    void SetEnabled(TimerId id, bool enabled) override;
    bool IsEnabled(TimerId id) const override { return slot(id).enabled; }
    // True when any timer is really counting (for idle checks).
    bool AnyActive() const;

private:
    struct Slot {
        QTimer* timer = nullptr;
        int interval = 0;
        bool enabled = false;
    };
    Slot& slot(TimerId id) { return slots_[static_cast<std::size_t>(id)]; }
    const Slot& slot(TimerId id) const { return slots_[static_cast<std::size_t>(id)]; }
    void Apply(Slot& s);

    std::array<Slot, TimerCount> slots_{};
    Handler handler_;
};

} // namespace plumix
