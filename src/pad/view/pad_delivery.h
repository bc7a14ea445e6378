// Where a pad's keys go: to the widget with the focus, as the keyboard's do,
// so they take the same path through the windows as a key press.
#pragma once

#include "pad/pad_keys.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <map>

namespace plumix {

// The widget a key typed now would reach; none while another program has the focus.
QWidget* PadTarget();
// What kind of place `target` is: the main window (any window that is not a
// dialog), a list, a text box, a window with nothing to focus, or a dialog.
PadContext PadContextOf(const QWidget* target);

class PadKeyDelivery : public PadKeySink {
public:
    explicit PadKeyDelivery(std::function<void()> unplugged) : unplugged_(std::move(unplugged)) {}

    void KeyDown(PadKey key, bool autoRepeat) override;
    // To where the press went, though the focus may have moved since: a
    // button clicks on the release of the Space that pressed it.
    void KeyUp(PadKey key) override;
    void PadUnplugged() override;

private:
    std::function<void()> unplugged_;
    std::map<int, QPointer<QWidget>> pressedOn_;
};

// The desktop's key repeat: the X server's delay and rate where the game runs
// on X, else Qt's rate after a common delay.
KeyRepeat DesktopKeyRepeat();

} // namespace plumix
