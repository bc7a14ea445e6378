// Message boxes and questions for the rules, shown window-modal without a
// nested event loop: the answer comes back through the callback.
#pragma once

#include "base/texts.h"
#include "engine/ports.h"

#include <QPointer>
#include <QWidget>

namespace plumix {

class QtDialogs : public DialogPort {
public:
    // The questions are worded from `texts`, which must outlive the dialogs.
    QtDialogs(QWidget* owner, const TextTable& texts) : owner_(owner), texts_(texts) {}

    void Ask(Question question, std::function<void(bool)> answer) override;
    void ShowMessage(std::string_view text, std::function<void()> closed = {}) override;
    void ShowError(std::string_view text, std::function<void()> closed = {}) override;

private:
    QPointer<QWidget> owner_;
    const TextTable& texts_;
};

} // namespace plumix
