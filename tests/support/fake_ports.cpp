#include "support/fake_ports.h"

namespace plumix::testing {

double ScriptedRandom::Next()
{
    if (values_.empty()) {
        return 0.0;
    }
    const double v = values_.front();
    values_.pop_front();
    return v;
}

void ScriptedDialogs::Ask(Question question, std::function<void(bool)> answer)
{
    questions.push_back(question);
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
