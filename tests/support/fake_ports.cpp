#include "support/fake_ports.h"

#include <limits>

namespace plumix::testing {

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

bool VirtualClock::NextDue(std::int64_t limit, TimerId& id) const
{
    std::int64_t best = std::numeric_limits<std::int64_t>::max();
    for (int i = 0; i < TimerCount; ++i) {
        const Timer& t = timers_[static_cast<std::size_t>(i)];
        if (t.enabled && t.interval > 0 && t.due <= limit && t.due < best) {
            best = t.due;
            id = static_cast<TimerId>(i);
        }
    }
    return best != std::numeric_limits<std::int64_t>::max();
}

void VirtualClock::Fire(TimerId id)
{
    Timer& t = At(id);
    now_ = t.due;
    t.due += t.interval;
    ++t.fired;
    if (handler) {
        handler(id);
    }
}

void VirtualClock::Advance(std::int64_t ms)
{
    const std::int64_t target = now_ + ms;
    TimerId id{};
    while (NextDue(target, id)) {
        Fire(id);
    }
    now_ = target;
}

bool VirtualClock::RunUntil(const std::function<bool()>& done, std::int64_t limitMs)
{
    const std::int64_t end = now_ + limitMs;
    TimerId id{};
    while (!done()) {
        if (!NextDue(end, id)) {
            return false;
        }
        Fire(id);
    }
    return true;
}

double ScriptedRandom::Next()
{
    ++draws_;
    if (values_.empty()) {
        return fallback_;
    }
    const double v = values_.front();
    values_.pop_front();
    return v;
}

void ScriptedDialogs::AskYesNo(std::string_view prompt, std::string_view title, std::function<void(bool)> answer)
{
    questions.emplace_back(prompt, title);
    if (holdQuestions) {
        pending = std::move(answer);
        return;
    }
    const bool yes = answers.empty() || answers.front();
    if (!answers.empty()) {
        answers.pop_front();
    }
    answer(yes);
}

} // namespace plumix::testing
