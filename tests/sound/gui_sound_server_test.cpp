// The sound player against private sound servers, PulseAudio and PipeWire with
// its PulseAudio service, each with a null sink whose monitor is recorded while
// the player plays. The effects are made here: every sample says which effect
// and which of its frames it is, so the recording is read by one scan, and each
// effect's start is placed on the server's own timeline to measure it from its
// request.
#include "engine/ports.h"
#include "sound/view/sound_player.h"
#include "support/scratch_folder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace plumix {
namespace {

namespace fs = std::filesystem;

// The null sink's format, so that what the player writes reaches the monitor unchanged.
constexpr int Rate = 44100;
constexpr double FramesPerMs = Rate / 1000.0;
// From the request to the effect's first sample on the server's timeline.
constexpr double LatencyLimitMs = 30;
// The timeline is the server's own report, as coarse as a period of its graph
// (11.6 ms on PipeWire here), and PipeWire's runs on for a moment while its
// graph wakes up: an effect placed earlier than this before its request means
// a wrong timeline, not a quick player.
constexpr double EarlyLimitMs = 25;
// A paused stream that plays again makes PulseAudio mix again what it had mixed
// ahead (the sink's latency, 15 ms), so that it is heard at once; the monitor
// has already passed that on, and the recording may lack that much of the
// effect's start.
constexpr auto UnseenHeadFrames = static_cast<std::size_t>(20 * FramesPerMs);
// What a request takes, as a rule: handing an effect over is a store and a
// wake-up; waiting for the server would be a round trip, milliseconds.
constexpr double RequestLimitMs = 1;
// Wake-ups of the whole process while nothing plays, and how long they are counted.
constexpr double IdleWakeupsPerSecond = 2;
constexpr int IdleCountMs = 5000;
// The sound is back this soon after its server is, and then heard this soon.
constexpr int ReturnLimitMs = 3000;
constexpr double ReturnedLatencyLimitMs = 100;

// By SoundEffect: the left channel tells the effect, the right one its frame
// (from 1). Both stay below half of full scale, which every 16-bit conversion
// keeps exact.
constexpr std::array<const char*, 3> Names = {"drop", "rotate", "clear"};
constexpr std::array<int, 3> Markers = {1000, 2000, 3000};
constexpr std::array<int, 3> EffectMs = {110, 85, 360};

std::size_t EffectFrames(std::size_t effect) { return static_cast<std::size_t>(EffectMs[effect] * FramesPerMs); }

std::string Le(std::uint32_t value, int bytes)
{
    std::string out;
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>(value >> (8 * i));
    }
    return out;
}

void WriteEffects(const fs::path& folder)
{
    const char* files[] = {"Sounds/Drop.wav", "Sounds/Rotate.wav", "Sounds/Clear.wav"};
    for (std::size_t e = 0; e < Markers.size(); ++e) {
        std::string data;
        for (std::size_t frame = 0; frame < EffectFrames(e); ++frame) {
            data += Le(static_cast<std::uint32_t>(Markers[e]), 2) + Le(static_cast<std::uint32_t>(frame + 1), 2);
        }
        const std::string fmt = Le(1, 2) + Le(2, 2) + Le(Rate, 4) + Le(Rate * 4, 4) + Le(4, 2) + Le(16, 2);
        const std::string chunks = "fmt " + Le(16, 4) + fmt + "data" + Le(static_cast<std::uint32_t>(data.size()), 4) + data;
        testing::WriteFile(folder / files[e], "RIFF" + Le(static_cast<std::uint32_t>(chunks.size() + 4), 4) + "WAVE" + chunks);
    }
}

double Ms(std::size_t frames) { return static_cast<double>(frames) / FramesPerMs; }

double Now()
{
    static const auto start = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Voluntary context switches in a /proc status file: each a sleep ended by a wake-up.
long Sleeps(const fs::path& status)
{
    std::ifstream in(status);
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("voluntary_ctxt_switches:")) {
            return std::stol(line.substr(line.find(':') + 1));
        }
    }
    return 0;
}

long Wakeups()
{
    long count = 0;
    for (const auto& task : fs::directory_iterator("/proc/self/task")) {
        count += Sleeps(task.path() / "status");
    }
    return count;
}

double IdleWakeupsPerSecondNow()
{
    const long before = Wakeups();
    std::this_thread::sleep_for(std::chrono::milliseconds(IdleCountMs));
    return static_cast<double>(Wakeups() - before - 1) * 1000 / IdleCountMs;
}

enum class Server { PulseAudio, PipeWire };

// A sound server of the test's own: its sockets, configuration and state in a
// scratch folder, a null sink as the only output (suspended after 1 s idle),
// and nothing of the desktop's: no device, no bus, no server of the session.
class PrivateServer {
public:
    PrivateServer(Server kind, const fs::path& folder) : kind_(kind), folder_(folder)
    {
        for (const char* name : {"home", "run", "config", "state"}) {
            fs::create_directories(folder_ / name);
            fs::permissions(folder_ / name, fs::perms::owner_all);
        }
        env_ = QProcessEnvironment::systemEnvironment();
        env_.insert("HOME", Path("home"));
        env_.insert("XDG_RUNTIME_DIR", Path("run"));
        env_.insert("XDG_CONFIG_HOME", Path("config"));
        env_.insert("XDG_STATE_HOME", Path("state"));
        env_.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + Path("run/bus"));
        env_.insert("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + Path("run/no-system-bus"));
        env_.insert("LC_ALL", "C");  // a decimal point in parecord's reports
        for (const char* name : {"PULSE_SERVER", "PIPEWIRE_REMOTE", "PIPEWIRE_RUNTIME_DIR", "DISPLAY"}) {
            env_.remove(name);
        }
        WriteConfiguration();
    }
    ~PrivateServer()
    {
        Kill();
        if (bus_) {
            bus_->kill();
            bus_->waitForFinished(3000);
        }
    }

    Server Kind() const { return kind_; }
    QString Name() const { return kind_ == Server::PulseAudio ? "PulseAudio" : "PipeWire"; }
    QString Address() const { return "unix:" + Path("run/pulse/native"); }
    const QProcessEnvironment& Environment() const { return env_; }

    // Empty once the server answers with its null sink as the default; otherwise why it does not.
    QString Start()
    {
        const QStringList programs = kind_ == Server::PulseAudio
                                         ? QStringList{"pulseaudio", "pactl", "parecord", "pacat"}
                                         : QStringList{"pipewire", "wireplumber", "pipewire-pulse", "dbus-daemon",
                                                       "pactl", "parecord", "pacat"};
        for (const QString& program : programs) {
            if (QStandardPaths::findExecutable(program).isEmpty()) {
                return program + " is not installed (scripts/install-deps leaves a server out on a desktop that runs "
                                 "the other)";
            }
        }
        if (kind_ == Server::PulseAudio) {
            // At a desktop's priorities (real-time where the system grants it).
            Spawn("pulseaudio", {"-n", "--daemonize=no", "--exit-idle-time=-1", "--system=false", "--use-pid-file=no",
                                 "--log-target=stderr", "--file=" + Path("server.pa")});
        } else {
            if (!bus_) {
                bus_ = std::make_unique<QProcess>();
                bus_->setProcessEnvironment(env_);
                bus_->start("dbus-daemon", {"--session", "--nofork", "--nopidfile", "--address=unix:path=" + Path("run/bus")});
                if (!bus_->waitForStarted(3000) || !QTest::qWaitFor([&] { return fs::exists(folder_ / "run/bus"); }, 5000)) {
                    return "dbus-daemon did not start: " + bus_->errorString();
                }
            }
            Spawn("pipewire", {"-c", Path("plumix-test-pipewire.conf")});
            if (!QTest::qWaitFor([&] { return fs::exists(folder_ / "run/pipewire-0"); }, 5000)) {
                return "pipewire did not open its socket within 5 s: " + Output();
            }
            Spawn("wireplumber", {});
            Spawn("pipewire-pulse", {"-c", Path("plumix-test-pipewire-pulse.conf")});
        }
        const auto ready = [&] {
            return std::ranges::all_of(processes_, [](const auto& p) { return p->state() == QProcess::Running; }) &&
                   Pactl({"get-default-sink"}).trimmed() == "plumix_null";
        };
        if (QTest::qWaitFor(ready, 10000)) {
            return {};
        }
        return Name() + " did not answer with its null sink within 10 s: " + Output();
    }

    // Gone at once, as a crashed server.
    void Kill()
    {
        for (auto it = processes_.rbegin(); it != processes_.rend(); ++it) {
            (*it)->kill();
            (*it)->waitForFinished(3000);
        }
        processes_.clear();
    }

    QByteArray Pactl(const QStringList& arguments) const
    {
        QProcess pactl;
        pactl.setProcessEnvironment(env_);
        pactl.start("pactl", QStringList{"--server=" + Address()} + arguments);
        if (!pactl.waitForFinished(3000) || pactl.exitStatus() != QProcess::NormalExit || pactl.exitCode() != 0) {
            return {};
        }
        return pactl.readAllStandardOutput();
    }

    QJsonArray PactlJson(const QStringList& arguments) const
    {
        return QJsonDocument::fromJson(Pactl(QStringList{"--format=json"} + arguments)).array();
    }

    // The rows of the game among the sink's inputs.
    std::vector<QJsonObject> GameRows() const
    {
        std::vector<QJsonObject> rows;
        for (const auto& input : PactlJson({"list", "sink-inputs"})) {
            if (input.toObject()["properties"].toObject()["application.name"] == "Plumix") {
                rows.push_back(input.toObject());
            }
        }
        return rows;
    }

    QString SinkState() const
    {
        for (const auto& sink : PactlJson({"list", "short", "sinks"})) {
            if (sink.toObject()["name"] == "plumix_null") {
                return sink.toObject()["state"].toString();
            }
        }
        return {};
    }

private:
    QString Path(const char* name) const { return QString::fromStdString((folder_ / name).string()); }

    void Spawn(const QString& program, const QStringList& arguments)
    {
        auto& process = processes_.emplace_back(std::make_unique<QProcess>());
        process->setProcessEnvironment(env_);
        process->setProcessChannelMode(QProcess::MergedChannels);
        process->start(program, arguments);
        process->waitForStarted(3000);
    }

    QString Output() const
    {
        QString out;
        for (const auto& p : processes_) {
            out += p->program() + " (" + p->errorString() + "): " + QString::fromLocal8Bit(p->readAll().right(400)) + "; ";
        }
        return out;
    }

    void WriteConfiguration() const
    {
        testing::WriteFile(folder_ / "server.pa",
                           "load-module module-null-sink sink_name=plumix_null rate=44100 channels=2 format=s16le\n"
                           "set-default-sink plumix_null\n"
                           "load-module module-stream-restore\n"
                           "load-module module-suspend-on-idle timeout=1\n"
                           "load-module module-native-protocol-unix auth-anonymous=1 socket=" +
                               (folder_ / "run/pulse/native").string() + "\n");
        // The desktop's graph: its threads at a real-time priority where the
        // system grants one (a desktop's through its real-time service), a
        // min-quantum of 16 (a virtual machine's defaults are no desktop's),
        // at the sink's rate. The files' names are the test's own, so that no
        // drop-in of the machine's configuration joins them.
        const std::string common = R"(
context.spa-libs = { audio.convert.* = audioconvert/libspa-audioconvert support.* = support/libspa-support }
context.modules = [
    { name = libpipewire-module-rt args = { nice.level = -11 } flags = [ ifexists nofail ] }
    { name = libpipewire-module-protocol-native } { name = libpipewire-module-metadata }
    { name = libpipewire-module-client-node } { name = libpipewire-module-adapter }
)";
        testing::WriteFile(folder_ / "plumix-test-pipewire.conf", common + R"(
    { name = libpipewire-module-spa-node-factory } { name = libpipewire-module-access }
    { name = libpipewire-module-link-factory } { name = libpipewire-module-session-manager }
]
context.properties = { core.daemon = true core.name = pipewire-0 link.max-buffers = 16 default.clock.rate = 44100
                       default.clock.allowed-rates = [ 44100 ] default.clock.min-quantum = 16 }
context.objects = [
    { factory = spa-node-factory args = { factory.name = support.node.driver node.name = Dummy-Driver
                                          node.group = pipewire.dummy priority.driver = 20000 } }
    { factory = adapter args = { factory.name = support.null-audio-sink node.name = plumix_null
                                 media.class = Audio/Sink audio.position = [ FL FR ] audio.rate = 44100
                                 object.linger = true priority.driver = 1000 priority.session = 1000
                                 session.suspend-timeout-seconds = 1 } }
]
)");
        testing::WriteFile(folder_ / "plumix-test-pipewire-pulse.conf", common + R"(
    { name = libpipewire-module-protocol-pulse }
]
pulse.properties = { server.address = [ "unix:native" ] }
)");
        // The session manager links streams to the sink and remembers their
        // volumes; it must not take the machine's devices.
        testing::WriteFile(folder_ / "config/wireplumber/main.lua.d/51-plumix-test.lua",
                           "alsa_monitor.enabled = false\nv4l2_monitor.enabled = false\nlibcamera_monitor.enabled = false\n");
        testing::WriteFile(folder_ / "config/wireplumber/bluetooth.lua.d/51-plumix-test.lua",
                           "bluez_monitor.enabled = false\n");
    }

    Server kind_;
    fs::path folder_;
    QProcessEnvironment env_;
    std::unique_ptr<QProcess> bus_;
    std::vector<std::unique_ptr<QProcess>> processes_;
};

// Records the null sink's monitor without asking anything of the sink: on
// PipeWire a passive node, which leaves the graph's period alone (its latency
// is longer than the longest period) and records nothing while the graph
// sleeps. The recorder reports every 50 ms which moment of the recording the
// sink is playing; each report is read some time after it was made, so each
// places the frames before it no earlier than they were played (later, when
// the graph slept in between), and the soonest counts.
struct MonitorRecording {
    explicit MonitorRecording(const PrivateServer& server)
    {
        QObject::connect(&process, &QProcess::readyReadStandardOutput,
                         [this] { bytes += process.readAllStandardOutput(); });
        QObject::connect(&process, &QProcess::readyReadStandardError, [this] {
            const double now = Now();
            reports += process.readAllStandardError();
            for (qsizetype end; (end = reports.indexOf('\r')) >= 0; reports.remove(0, end + 1)) {
                const QByteArray report = reports.left(end);
                const qsizetype at = report.indexOf("Time: ");
                if (at >= 0) {
                    placings.push_back({now, report.mid(at + 6).split(' ').value(0).toDouble() * 1000});
                }
            }
        });
        process.setProcessEnvironment(server.Environment());
        QStringList options = {"--server=" + server.Address(), "--verbose", "--device=plumix_null.monitor", "--raw",
                               "--format=s16le", "--rate=44100", "--channels=2", "--property=node.passive=true"};
        if (server.Kind() == Server::PipeWire) {
            options << "--latency-msec=100";  // else it passes the recording on in pieces of 2 s
        }
        process.start("parecord", options);
        // PipeWire creates the recorder's stream only once the graph runs: a
        // moment of digital silence from another program, until it is there.
        for (int tries = 0; tries < 6 && !placed; ++tries) {
            QProcess::execute("sh", {"-c", "head -c 17640 /dev/zero | pacat --server=" + server.Address() + " --raw"});
            placed = QTest::qWaitFor([this] { return placings.size() >= 3; }, 1000);
        }
    }
    ~MonitorRecording() { Stop(); }

    bool Placed() const { return placed; }
    void Stop()
    {
        process.kill();
        process.waitForFinished(3000);
        bytes += process.readAllStandardOutput();
    }
    // When, on Now()'s clock, the recording's `frame` was played, which was
    // not before `notBefore`. PipeWire's reports run on while the graph sleeps
    // and nothing is recorded: only those made after the frame could have been
    // played tell.
    double FrameAt(std::size_t frame, double notBefore) const
    {
        double at = 1e18;
        for (const Placing& placing : placings) {
            if (placing.readAt >= notBefore && placing.playingMs > Ms(frame)) {
                at = std::min(at, placing.readAt - (placing.playingMs - Ms(frame)));
            }
        }
        return at;
    }

    struct Placing {
        double readAt;
        double playingMs;  // the moment of the recording then playing
    };
    QProcess process;
    bool placed = false;
    QByteArray bytes;  // s16le, stereo
    QByteArray reports;
    std::vector<Placing> placings;
};

// A run of one effect's frames in the recording, each following the one
// before, but where the graph lost a period (an overloaded server's loss,
// which no player can prevent): there as many frames of silence or of damaged
// sound stand for the effect's.
struct Heard {
    int effect = 0;
    std::size_t at = 0;     // its first frame in the recording
    std::size_t first = 0;  // the effect's frame there
    std::size_t frames = 0;
    int dropouts = 0;
};

struct Recorded {
    std::vector<Heard> effects;
    std::vector<std::size_t> noise;  // frames of sound that is no effect's
};

// PipeWire's longest period here.
constexpr std::size_t MaxDropoutFrames = 2048;

Recorded WhatWasHeard(const QByteArray& recording)
{
    Recorded heard;
    const std::size_t frames = static_cast<std::size_t>(recording.size()) / 4;
    for (std::size_t f = 0; f < frames; ++f) {
        std::int16_t sample[2];
        std::memcpy(sample, recording.data() + f * 4, sizeof sample);
        if (sample[0] == 0 && sample[1] == 0) {
            continue;
        }
        const auto marker = std::ranges::find(Markers, sample[0]);
        if (marker == Markers.end() || sample[1] < 1) {
            heard.noise.push_back(f);
            continue;
        }
        const int effect = static_cast<int>(marker - Markers.begin());
        const auto index = static_cast<std::size_t>(sample[1] - 1);
        if (!heard.effects.empty() && heard.effects.back().effect == effect) {
            Heard& last = heard.effects.back();
            const std::size_t lost = f - (last.at + last.frames);
            if (index == last.first + last.frames + lost && lost <= MaxDropoutFrames) {
                last.frames += lost + 1;
                last.dropouts += lost > 0 ? 1 : 0;
                continue;
            }
        }
        heard.effects.push_back({effect, f, index, 1});
    }
    return heard;
}

struct Request {
    int afterMs;  // after the request before
    const char* name;
};

SoundEffect EffectNamed(std::string_view name)
{
    return static_cast<SoundEffect>(std::ranges::find(Names, name) - Names.begin());
}

// How long each request of the test took.
std::vector<double> requestsTook;

// Asks for each effect in turn; returns when each was asked for. A request
// never waits, for the sound thread, the server or anything else.
std::vector<double> Play(SoundPlayer& player, const std::vector<Request>& requests)
{
    std::vector<double> askedAt;
    for (const Request& request : requests) {
        QTest::qWait(request.afterMs);
        const long sleeps = Sleeps("/proc/thread-self/status");
        askedAt.push_back(Now());
        player.PlaySfx(EffectNamed(request.name));
        requestsTook.push_back(Now() - askedAt.back());
        EXPECT_EQ(Sleeps("/proc/thread-self/status"), sleeps) << request.name << " kept the game waiting";
    }
    return askedAt;
}

// A request takes microseconds, but when the machine gives the core to
// another thread meanwhile (the sound thread it wakes, say).
void ExpectQuickRequests()
{
    std::ranges::sort(requestsTook);
    const double median = requestsTook[requestsTook.size() / 2];
    EXPECT_LT(median, RequestLimitMs);
    std::printf("[ request  ] median %.3f ms, longest %.3f ms\n", median, requestsTook.back());
    requestsTook.clear();
}

// The recording holds the `asked` effects in order, each from its first
// sample, whole or cut by the next, whose first sample then follows the cut
// one's last at once; each begun on the server's timeline within its limit
// after its request; and no other sound.
void ExpectHeard(const MonitorRecording& recording, const std::vector<Request>& asked,
                 const std::vector<double>& askedAt, double latencyLimitMs = LatencyLimitMs)
{
    Recorded recorded = WhatWasHeard(recording.bytes);
    const std::vector<Heard>& heard = recorded.effects;
    std::vector<std::string> names, askedNames;
    std::ranges::transform(heard, std::back_inserter(names), [](const Heard& h) { return Names[static_cast<std::size_t>(h.effect)]; });
    std::ranges::transform(asked, std::back_inserter(askedNames), &Request::name);
    ASSERT_EQ(names, askedNames);

    const auto excuse = [&](std::size_t from, std::size_t to) {
        std::erase_if(recorded.noise, [&](std::size_t f) { return f >= from && f < to; });
    };
    for (std::size_t i = 0; i < heard.size(); ++i) {
        SCOPED_TRACE("effect " + std::to_string(i) + " (" + names[i] + ")");
        const std::size_t length = EffectFrames(static_cast<std::size_t>(heard[i].effect));
        const std::size_t ends = heard[i].at + heard[i].frames;
        const bool whole = heard[i].first + heard[i].frames == length;
        // Cut: the next effect follows at once, or the graph lost the period
        // across the cut, with some of the next effect's head.
        const std::size_t gap = i + 1 < heard.size() ? heard[i + 1].at - ends : 0;
        const bool cutByNext = i + 1 < heard.size() &&
                               (gap == 0 || (gap <= MaxDropoutFrames && heard[i + 1].first > 0 && heard[i + 1].first <= gap));
        excuse(heard[i].at, cutByNext ? ends + gap : ends);
        EXPECT_LE(heard[i].first, UnseenHeadFrames) << "its first " << Ms(heard[i].first) << " ms never heard";
        EXPECT_TRUE(whole || cutByNext) << "heard " << Ms(heard[i].frames) << " of " << Ms(length)
                                        << " ms, then " << Ms(gap) << " ms of silence before the next";
        const double latency = recording.FrameAt(heard[i].at, askedAt[i]) - Ms(heard[i].first) - askedAt[i];
        EXPECT_LE(latency, latencyLimitMs);
        EXPECT_GE(latency, -EarlyLimitMs);
        std::printf("[ latency  ] %-6s after %5d ms %6.1f ms%s%s\n", names[i].c_str(), asked[i].afterMs, latency,
                    cutByNext ? ", cut by the next" : "",
                    heard[i].dropouts > 0 || (cutByNext && gap > 0) ? ", the graph lost a period" : "");
    }
    EXPECT_EQ(recorded.noise.size(), 0u) << "sound that is no effect's, from "
                                         << (recorded.noise.empty() ? 0 : Ms(recorded.noise[0])) << " ms";
}

// What a played game asks for, with the silences that matter to a sound server.
const std::vector<Request> Patterns = {
    {0, "rotate"},                                                                     // the first after start-up
    {500, "drop"},                                                                     // a fast drop lands 0.5 s on
    {10000, "clear"},                                                                  // alone after 10 s of silence
    {1000, "drop"},   {40, "clear"},                                                   // a landing clears a row
    {1000, "rotate"}, {150, "clear"},  {200, "drop"}, {120, "rotate"}, {250, "clear"},  // five within a second
};

std::string ServerName(const ::testing::TestParamInfo<Server>& info)
{
    return info.param == Server::PulseAudio ? "PulseAudio" : "PipeWire";
}

class SoundServerTest : public ::testing::TestWithParam<Server> {
protected:
    void SetUp() override
    {
        WriteEffects(folder_ / "game");
        const QString why = server_.Start();
        if (!why.isEmpty()) {
            GTEST_SKIP() << "No private " << server_.Name().toStdString()
                         << " could be started here: " << why.toStdString();
        }
        qputenv("PULSE_SERVER", server_.Address().toUtf8());
    }
    void TearDown() override
    {
        if (!requestsTook.empty()) {
            ExpectQuickRequests();
        }
    }

    std::unique_ptr<SoundPlayer> NewPlayer()
    {
        auto player = std::make_unique<SoundPlayer>([this] { return soundOn_; }, std::vector{folder_ / "game"});
        EXPECT_TRUE(QTest::qWaitFor([&] { return player->Connected(); }, ReturnLimitMs)) << "no stream";
        return player;
    }

    // The patterns, and after them `silenceMs` of silence and one more effect,
    // recorded, beside `other` when given. Then the sink sleeps, and so does
    // the player.
    void PlayThePatterns(int silenceMs, QProcess* other = nullptr)
    {
        const auto player = NewPlayer();
        auto recording = std::make_unique<MonitorRecording>(server_);
        ASSERT_TRUE(recording->Placed()) << "the recorder never told where the sink plays";
        if (other == nullptr && server_.Kind() == Server::PipeWire) {
            // The first effect after start-up finds the graph asleep.
            ASSERT_TRUE(QTest::qWaitFor([&] { return server_.SinkState() == "SUSPENDED"; }, 5000));
        }
        std::vector<Request> requests = Patterns;
        if (silenceMs > 0) {
            requests.push_back({silenceMs, "drop"});
        }
        const auto askedAt = Play(*player, requests);
        // The setting off: nothing plays.
        soundOn_ = false;
        player->PlaySfx(SoundEffect::RowFlash);
        soundOn_ = true;
        // PulseAudio passes the monitor on in pieces as long as the sink's
        // latency: up to 2 s beside a program that asks for no latency.
        QTest::qWait(2500);
        recording->Stop();
        ExpectHeard(*recording, requests, askedAt);

        recording.reset();
        if (other != nullptr) {
            other->kill();
            other->waitForFinished(3000);
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return !player->Playing(); }, 2000)) << "the stream never paused";
        EXPECT_TRUE(QTest::qWaitFor([&] { return server_.SinkState() == "SUSPENDED"; }, 3000)) << "the sink never slept";
        const double idle = IdleWakeupsPerSecondNow();
        EXPECT_LE(idle, IdleWakeupsPerSecond) << "the player keeps waking up";
        std::printf("[ wake-ups ] %.1f a second idle\n", idle);
    }

    testing::ScratchFolder folder_;
    PrivateServer server_{GetParam(), folder_ / "server"};
    bool soundOn_ = true;
};

TEST_P(SoundServerTest, EveryEffectIsHeardWithin30msOfItsRequestFromItsFirstSampleAndACutLeavesNoGap)
{
    PlayThePatterns(0);
}

// Another program plays on the same sink all along, asking for no latency of
// its own, as a music player does (on PipeWire it sets a long graph period).
TEST_P(SoundServerTest, AndSoBesideAProgramThatSetsALongPeriodAndAfterAMinuteOfSilence)
{
    QProcess other;
    other.setProcessEnvironment(server_.Environment());
    other.setStandardInputFile("/dev/zero");  // digital silence: the recording still holds the effects sample for sample
    other.start("pacat", {"--server=" + server_.Address(), "--raw", "--format=s16le", "--rate=44100", "--channels=2"});
    ASSERT_TRUE(other.waitForStarted(3000));
    PlayThePatterns(60000, &other);
}

TEST_P(SoundServerTest, AServerBackAfter10sIsFoundAgainAndEffectsInTheMeantimeNeitherWaitNorQueue)
{
    auto player = NewPlayer();
    player->PlaySfx(SoundEffect::RowFlash);
    QTest::qWait(100);
    server_.Kill();
    Play(*player, {{40, "drop"}, {40, "rotate"}, {40, "clear"}});
    QTest::qWait(10000);
    Play(*player, {{0, "drop"}});

    ASSERT_EQ(server_.Start().toStdString(), "");
    const double backAt = Now();
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->Connected(); }, ReturnLimitMs)) << "not found again";
    std::printf("[ return   ] connected %.0f ms after the server\n", Now() - backAt);
    MonitorRecording recording(server_);
    ASSERT_TRUE(recording.Placed()) << "the recorder never told where the sink plays";
    const std::vector<Request> afterReturn = {{0, "drop"}, {500, "rotate"}};
    const auto askedAt = Play(*player, afterReturn);
    QTest::qWait(2500);
    recording.Stop();
    // Back, each effect whole: a server that has just started (and a player
    // under the sanitizers) may take a little longer over the first periods.
    ExpectHeard(recording, afterReturn, askedAt, ReturnedLatencyLimitMs);
}

// One row, named for the game, of the game role; a volume and a mute set there
// hold for the next run.
TEST_P(SoundServerTest, TheGameIsOneMixerRowWhoseVolumeAndMuteTheServerKeepsForTheNextRun)
{
    auto player = NewPlayer();
    player->PlaySfx(SoundEffect::RowFlash);
    std::vector<QJsonObject> rows;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (rows = server_.GameRows()).size() == 1; }, 2000));
    const QJsonObject props = rows[0]["properties"].toObject();
    EXPECT_EQ(props["media.name"].toString().toStdString(), "Plumix");
    EXPECT_EQ(props["media.role"].toString().toStdString(), "game");
    EXPECT_EQ(props["application.icon_name"].toString().toStdString(), "org.plumix.Plumix");
    const QString index = QString::number(rows[0]["index"].toInt());
    server_.Pactl({"set-sink-input-volume", index, "40%"});
    server_.Pactl({"set-sink-input-mute", index, "1"});
    QTest::qWait(1500);  // WirePlumber writes its state after a second
    player.reset();

    player = NewPlayer();
    ASSERT_TRUE(QTest::qWaitFor([&] { return (rows = server_.GameRows()).size() == 1; }, 2000));
    EXPECT_EQ(rows[0]["volume"].toObject().begin()->toObject()["value_percent"].toString().toStdString(), "40%");
    EXPECT_TRUE(rows[0]["mute"].toBool());
}

INSTANTIATE_TEST_SUITE_P(Servers, SoundServerTest, ::testing::Values(Server::PulseAudio, Server::PipeWire), ServerName);

// No server at all: silence, a request as quick as ever, and a look for a
// server now and then.
TEST(SoundPlayerWithoutServer, IsSilentAndNeverWaits)
{
    const testing::ScratchFolder folder;
    qputenv("PULSE_SERVER", QByteArray("unix:") + (folder / "nobody-listens").c_str());
    SoundPlayer player([] { return true; }, {PLUMIX_ASSETS});
    Play(player, {{0, "drop"}, {40, "rotate"}, {40, "clear"}});
    ExpectQuickRequests();
    EXPECT_FALSE(player.Connected());
    EXPECT_LE(IdleWakeupsPerSecondNow(), IdleWakeupsPerSecond);
}

} // namespace
} // namespace plumix
