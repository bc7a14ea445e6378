// Every connected pad, read through SDL's game controllers, its presses
// turned into key presses for the focused window. Nothing of it wakes the
// program while no pad is connected: the kernel tells it when a device
// comes (an inotify watch on the input devices), and a connected pad's own
// device tells it when there is something to read.
#pragma once

#include "pad/pad_keys.h"
#include "pad/view/pad_delivery.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>

class QSocketNotifier;

namespace plumix {

class PadInput : public QObject {
    Q_OBJECT
public:
    // `unplugged` runs when a pad goes away.
    PadInput(KeyRepeat repeat, std::function<void()> unplugged, QObject* parent = nullptr);
    ~PadInput() override;

    // Brings up SDL's pad support and opens the pads already there; false
    // where SDL cannot, and the game then plays without pads.
    bool Start();
    bool Started() const { return started_; }
    int ConnectedPads() const { return static_cast<int>(pads_.size()); }

    // Takes every change SDL has for us. The watches call it; a pad without a
    // device of its own (SDL's virtual pads) is read when it is called.
    void Pump();
    // How often the pads were read, for the test that nothing wakes us in vain.
    int Pumps() const { return pumps_; }

private:
    struct Pad;
    void Opened(int deviceIndex);
    void Closed(int instance);
    void Repeat();
    void ScheduleRepeat();
    void WatchDevices();
    void DevicesChanged();

    PadKeyDelivery delivery_;
    PadKeys keys_;
    QElapsedTimer clock_;
    QTimer repeat_;
    bool started_ = false;
    int pumps_ = 0;
    int inotify_ = -1;
    int inputWatch_ = -1;
    QSocketNotifier* devices_ = nullptr;
    std::map<int, std::unique_ptr<Pad>> pads_;  // by SDL's instance id
};

} // namespace plumix
