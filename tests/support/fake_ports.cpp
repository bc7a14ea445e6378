#include "support/fake_ports.h"

#include <limits>

namespace plumix::testing {

bool VirtualClock::RunUntil(const std::function<bool()>& done, std::int64_t limitMs)
{
    const std::int64_t end = Now() + limitMs;
    while (!done()) {
        if (NextDue() > end) {
            return false;
        }
        FireNext();
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
