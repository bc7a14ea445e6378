#include "pad/view/pad_input.h"

#include <QAbstractSlider>
#include <QApplication>
#include <QSocketNotifier>

#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <fcntl.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <array>
#include <optional>

namespace plumix {

namespace {

std::optional<PadButton> ButtonOf(Uint8 button)
{
    switch (button) {
    case SDL_CONTROLLER_BUTTON_A: return PadButton::A;
    case SDL_CONTROLLER_BUTTON_B: return PadButton::B;
    case SDL_CONTROLLER_BUTTON_X: return PadButton::X;
    case SDL_CONTROLLER_BUTTON_Y: return PadButton::Y;
    case SDL_CONTROLLER_BUTTON_BACK: return PadButton::Back;
    case SDL_CONTROLLER_BUTTON_START: return PadButton::Start;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER: return PadButton::LeftShoulder;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER: return PadButton::RightShoulder;
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return PadButton::Up;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return PadButton::Down;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return PadButton::Left;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return PadButton::Right;
    default: return std::nullopt;
    }
}

const char* const InputFolder = "/dev/input";
const char* const OwnPalette = "plumixPaletteBeforeFocus";

// The style draws no focus on a scroll bar, so a player moving the focus
// with the pad (or Tab) would not see it land there: its handle takes the
// highlight colour while it has the focus.
void MarkFocusedSlider(QWidget* old, QWidget* now)
{
    if (auto* slider = qobject_cast<QAbstractSlider*>(old); slider != nullptr && slider->property(OwnPalette).isValid()) {
        // A palette of its own comes back; else it follows its window's again.
        const QVariant own = slider->property(OwnPalette);
        slider->setPalette(own.canConvert<QPalette>() ? own.value<QPalette>() : QPalette());
        slider->setProperty(OwnPalette, QVariant());
    }
    if (auto* slider = qobject_cast<QAbstractSlider*>(now)) {
        slider->setProperty(OwnPalette, slider->testAttribute(Qt::WA_SetPalette) ? QVariant(slider->palette()) : QVariant(true));
        QPalette marked = slider->palette();
        marked.setColor(QPalette::Button, marked.color(QPalette::Highlight));
        slider->setPalette(marked);
    }
}

constexpr std::uint32_t InputChanges = IN_CREATE | IN_DELETE | IN_ATTRIB | IN_MOVED_TO | IN_MOVED_FROM;
// Bounds on one wake-up's work, whatever the kernel or SDL has queued.
constexpr int MaxReads = 64;
constexpr int EventBatch = 64;

// Reads what is waiting on a non-blocking descriptor and forgets it; false
// once the device has gone.
bool Drain(int fd)
{
    std::array<char, 4096> buffer{};
    for (int i = 0; i < MaxReads; ++i) {
        const ssize_t n = read(fd, buffer.data(), buffer.size());
        if (n > 0) {
            continue;
        }
        return n < 0 && (errno == EAGAIN || errno == EINTR);
    }
    return true;
}

} // namespace

// One open pad and our own reader of its device, which only wakes us: SDL
// reads the device itself when pumped.
struct PadInput::Pad {
    SDL_GameController* controller = nullptr;
    int fd = -1;
    std::unique_ptr<QSocketNotifier> readable;

    ~Pad()
    {
        readable.reset();
        if (fd >= 0) {
            close(fd);
        }
        SDL_GameControllerClose(controller);
    }
};

PadInput::PadInput(KeyRepeat repeat, std::function<void()> unplugged, QObject* parent)
    : QObject(parent), delivery_(std::move(unplugged)), keys_(delivery_, repeat)
{
    clock_.start();
    repeat_.setSingleShot(true);
    repeat_.setTimerType(Qt::PreciseTimer);
    connect(&repeat_, &QTimer::timeout, this, &PadInput::Repeat);
    connect(qApp, &QApplication::focusChanged, this, &MarkFocusedSlider);
}

PadInput::~PadInput()
{
    pads_.clear();
    delete devices_;
    if (inotify_ >= 0) {
        close(inotify_);
    }
    if (started_) {
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        SDL_Quit();
    }
}

bool PadInput::Start()
{
    if (started_) {
        return true;
    }
    // The game answers SIGINT and SIGTERM itself by saving; SDL's handlers
    // would take the signals from it.
    SDL_SetHintWithPriority(SDL_HINT_NO_SIGNAL_HANDLERS, "1", SDL_HINT_OVERRIDE);
    // Defaults a player's environment may change. SDL learns of new devices
    // from the same kernel notices that wake us, not from udev's later word;
    // pads are read through their input devices, which report changes only,
    // not through raw HID, where a pad reports hundreds of times a second.
    SDL_SetHintWithPriority("SDL_JOYSTICK_DISABLE_UDEV", "1", SDL_HINT_DEFAULT);
    SDL_SetHintWithPriority(SDL_HINT_JOYSTICK_HIDAPI, "0", SDL_HINT_DEFAULT);
    if (SDL_Init(SDL_INIT_GAMECONTROLLER) != 0) {
        return false;
    }
    started_ = true;
    WatchDevices();
    Pump();
    return true;
}

void PadInput::WatchDevices()
{
    inotify_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (inotify_ < 0) {
        return;  // pads plugged in later go unseen; those there now play
    }
    inputWatch_ = inotify_add_watch(inotify_, InputFolder, InputChanges);
    if (inputWatch_ < 0) {
        // No input devices at all yet: wait for their folder.
        inotify_add_watch(inotify_, "/dev", IN_CREATE | IN_MOVED_TO);
    }
    devices_ = new QSocketNotifier(inotify_, QSocketNotifier::Read);
    connect(devices_, &QSocketNotifier::activated, this, &PadInput::DevicesChanged);
}

void PadInput::DevicesChanged()
{
    Drain(inotify_);
    if (inputWatch_ < 0) {
        inputWatch_ = inotify_add_watch(inotify_, InputFolder, InputChanges);
    }
    Pump();
}

void PadInput::Pump()
{
    if (!started_) {
        return;
    }
    ++pumps_;
    SDL_PumpEvents();
    std::array<SDL_Event, EventBatch> events{};
    for (int batch = 0; batch < MaxReads; ++batch) {
        const int n = SDL_PeepEvents(events.data(), EventBatch, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
        for (int i = 0; i < n; ++i) {
            const SDL_Event& e = events[static_cast<std::size_t>(i)];
            const std::int64_t now = clock_.elapsed();
            switch (e.type) {
            case SDL_CONTROLLERDEVICEADDED: Opened(e.cdevice.which); break;
            case SDL_CONTROLLERDEVICEREMOVED: Closed(e.cdevice.which); break;
            case SDL_CONTROLLERBUTTONDOWN:
                if (const auto button = ButtonOf(e.cbutton.button)) {
                    keys_.ButtonDown(e.cbutton.which, *button, PadContextOf(PadTarget()), now);
                }
                break;
            case SDL_CONTROLLERBUTTONUP:
                if (const auto button = ButtonOf(e.cbutton.button)) {
                    keys_.ButtonUp(e.cbutton.which, *button);
                }
                break;
            case SDL_CONTROLLERAXISMOTION:
                if (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX || e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) {
                    keys_.StickMoved(e.caxis.which, e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX ? 0 : 1, e.caxis.value,
                                     PadContextOf(PadTarget()), now);
                }
                break;
            default: break;
            }
        }
        if (n < EventBatch) {
            break;
        }
    }
    ScheduleRepeat();
}

void PadInput::Opened(int deviceIndex)
{
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (controller == nullptr) {
        return;
    }
    const int instance = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    if (pads_.count(instance) != 0) {
        SDL_GameControllerClose(controller);  // opened twice: SDL counts references
        return;
    }
    auto pad = std::make_unique<Pad>();
    pad->controller = controller;
    if (const char* path = SDL_GameControllerPath(controller)) {
        pad->fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    }
    if (pad->fd >= 0) {
        pad->readable = std::make_unique<QSocketNotifier>(pad->fd, QSocketNotifier::Read);
        connect(pad->readable.get(), &QSocketNotifier::activated, this, [this, instance] {
            const auto at = pads_.find(instance);
            if (at != pads_.end() && !Drain(at->second->fd)) {
                // Gone: SDL hears of it from the device folder's watch.
                at->second->readable->setEnabled(false);
            }
            Pump();
        });
    }
    pads_[instance] = std::move(pad);
}

void PadInput::Closed(int instance)
{
    if (pads_.erase(instance) != 0) {
        keys_.Unplugged(instance);
    }
}

void PadInput::Repeat()
{
    keys_.Tick(clock_.elapsed());
    ScheduleRepeat();
}

void PadInput::ScheduleRepeat()
{
    const std::int64_t due = keys_.NextDue();
    if (due == PadKeys::Never) {
        repeat_.stop();
        return;
    }
    repeat_.start(static_cast<int>(std::max<std::int64_t>(0, due - clock_.elapsed())));
}

} // namespace plumix
