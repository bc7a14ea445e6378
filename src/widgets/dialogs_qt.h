// Message boxes and questions for the rules, shown window-modal without a
// nested event loop: the answer comes back through the callback.
#pragma once

#include "engine/ports.h"

#include <QPointer>
#include <QWidget>

#include <functional>

namespace plumix {

class QtDialogs : public DialogPort {
public:
    explicit QtDialogs(QWidget* owner) : owner_(owner) {}

    void ShowMessage(std::string_view text) override;
    void ShowMessageThen(std::string_view text, std::function<void()> closed) override;
    void AskYesNo(std::string_view prompt, std::string_view title, std::function<void(bool)> answer) override;
    void ShowRecordEntry(int endedMode, int place) override;

    // The record-entry window belongs to the hi-scores code; it plugs in here.
    std::function<void(int endedMode, int place)> recordEntry;

    // A box with the critical-stop icon, for the fixed file error messages.
    static void ShowCritical(QWidget* owner, const QString& text);

private:
    QPointer<QWidget> owner_;
};

} // namespace plumix
