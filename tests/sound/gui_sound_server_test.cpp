// The player against private servers recording their null sink's monitor. An effect's left channel
// names it and the right one counts its frames, so one scan finds each start and every cut.
#include "sound/sound_effects.h"
#include "sound/view/sound_player.h"
#include "sound/wav_bytes.h"
#include "support/scratch_folder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <sys/resource.h>

namespace plumix {
namespace {

namespace fs = std::filesystem;

// The null sink's format, so what the player writes reaches the monitor unchanged.
constexpr int Rate = 44100;
constexpr double LatencyLimitMs = 30;
// PipeWire's timeline is as coarse as its period: earlier is a wrong timeline.
constexpr double EarlyLimitMs = 25;
// A stream that plays again is mixed again from PulseAudio's 15 ms mixed ahead, already passed on.
constexpr long UnseenHeadFrames = 20 * Rate / 1000;
// PipeWire's longest period here: an overloaded graph may lose one, which no player can prevent.
constexpr long MaxDropoutFrames = 2048;
constexpr double IdleWakeupsPerSecond = 2;

// By SoundEffect; below half of full scale, which every 16-bit conversion keeps exact.
constexpr std::array<std::string_view, 3> Names = {"landing", "fastdrop", "rowflash"};
constexpr std::array<std::int16_t, 3> Markers = {1000, 2000, 3000};
constexpr std::array<long, 3> EffectFrames = {110 * Rate / 1000, 85 * Rate / 1000, 360 * Rate / 1000};

double Ms(long frames) { return frames * 1000.0 / Rate; }

double Now()
{
    static const auto start = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Voluntary context switches: each a sleep ended by a wake-up.
long Sleeps(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_nvcsw;
}

// Over five seconds, in which the test itself sleeps once.
double WakeupsPerSecond()
{
    const long before = Sleeps(RUSAGE_SELF);
    QTest::qSleep(5000);
    return static_cast<double>(Sleeps(RUSAGE_SELF) - before - 1) / 5;
}

enum class Server { PulseAudio, PipeWire };

const char* ServerName(Server server) { return server == Server::PulseAudio ? "PulseAudio" : "PipeWire"; }

// All in a scratch folder, a null sink (asleep after 1 s idle) the only output, nothing of the desktop's.
class PrivateServer {
public:
    PrivateServer(Server kind, const fs::path& folder) : kind(kind), folder_(folder)
    {
        for (const char* name : {"home", "run"}) {
            fs::create_directories(folder_ / name);
            fs::permissions(folder_ / name, fs::perms::owner_all);
        }
        env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"PULSE_SERVER", "PIPEWIRE_REMOTE", "PIPEWIRE_RUNTIME_DIR", "DISPLAY", "XDG_CONFIG_HOME", "XDG_STATE_HOME"}) {
            env.remove(name);
        }
        env.insert("HOME", Path("home"));
        env.insert("XDG_RUNTIME_DIR", Path("run"));
        env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + Path("run/bus"));
        env.insert("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + Path("run/no-system-bus"));
        env.insert("LC_ALL", "C");  // a decimal point in parecord's reports
        WriteConfiguration();
    }
    ~PrivateServer() { Kill(); }

    QString Address() const { return "unix:" + Path("run/pulse/native"); }

    // Why the server does not answer with its null sink as the default, if it does not.
    QString Start()
    {
        if (kind == Server::PulseAudio) {
            Spawn("pulseaudio", {"-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no", "-L",
                                 "module-null-sink sink_name=plumix_null rate=44100 channels=2 format=s16le", "-L",
                                 "module-stream-restore", "-L", "module-suspend-on-idle timeout=1", "-L",
                                 "module-native-protocol-unix auth-anonymous=1"});
        } else {
            fs::remove(folder_ / "run/bus");
            Spawn("dbus-daemon", {"--session", "--nofork", "--nopidfile", "--address=unix:path=" + Path("run/bus")});
            Spawn("pipewire", {"-c", Path("plumix-test-pipewire.conf")});
            if (!QTest::qWaitFor([&] { return fs::exists(folder_ / "run/bus") && fs::exists(folder_ / "run/pipewire-0"); }, 5000)) {
                return "no bus or no PipeWire socket within 5 s: " + Output();
            }
            Spawn("wireplumber", {});
            Spawn("pipewire-pulse", {"-c", Path("plumix-test-pipewire-pulse.conf")});
        }
        const auto ready = [&] {
            return std::ranges::all_of(processes_, [](const auto& p) { return p->state() == QProcess::Running; }) &&
                   Pactl({"get-default-sink"}).trimmed() == "plumix_null";
        };
        return QTest::qWaitFor(ready, 10000) ? QString() : "no null sink within 10 s (scripts/install-deps leaves a server out on a desktop that runs the other): " + Output();
    }

    // Gone at once, as a crashed server.
    void Kill()
    {
        for (const auto& process : processes_) {
            process->kill();
            process->waitForFinished(3000);
        }
        processes_.clear();
    }

    QByteArray Pactl(const QStringList& arguments) const
    {
        QProcess pactl;
        pactl.setProcessEnvironment(env);
        pactl.start("pactl", QStringList{"--server=" + Address()} + arguments);
        const bool ok = pactl.waitForFinished(3000) && pactl.exitStatus() == QProcess::NormalExit && pactl.exitCode() == 0;
        return ok ? pactl.readAllStandardOutput() : QByteArray();
    }

    QJsonArray List(const QStringList& what) const
    {
        return QJsonDocument::fromJson(Pactl(QStringList{"--format=json", "list"} + what)).array();
    }

    QString SinkState() const { return List({"short", "sinks"})[0].toObject()["state"].toString(); }

    const Server kind;
    QProcessEnvironment env;

private:
    QString Path(const char* name) const { return QString::fromStdString((folder_ / name).string()); }

    void Spawn(const QString& program, const QStringList& arguments)
    {
        auto& process = processes_.emplace_back(std::make_unique<QProcess>());
        process->setProcessEnvironment(env);
        process->setProcessChannelMode(QProcess::MergedChannels);
        process->start(program, arguments);
        process->waitForStarted(3000);
    }

    QString Output() const
    {
        QString out;
        for (const auto& p : processes_) {
            out += p->program() + ": " + p->errorString() + " " + QString::fromLocal8Bit(p->readAll().right(400)) + "; ";
        }
        return out;
    }

    // A desktop's graph under names no drop-in of the machine's joins; the PulseAudio service a process
    // of its own, as on a desktop (inside the graph's, a long period never holds a stream up).
    void WriteConfiguration() const
    {
        const std::string common = R"(
context.spa-libs = { audio.convert.* = audioconvert/libspa-audioconvert support.* = support/libspa-support }
context.modules = [
    { name = libpipewire-module-rt args = { nice.level = -11 } flags = [ ifexists nofail ] }
    { name = libpipewire-module-protocol-native } { name = libpipewire-module-metadata }
    { name = libpipewire-module-client-node } { name = libpipewire-module-adapter }
)";
        testing::WriteFile(folder_ / "plumix-test-pipewire-pulse.conf", common + R"(
    { name = libpipewire-module-protocol-pulse args = { server.address = [ "unix:native" ] } }
]
)");
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
        testing::WriteFile(folder_ / "home/.config/wireplumber/main.lua.d/51-plumix-test.lua",
                           "alsa_monitor.enabled = false\nv4l2_monitor.enabled = false\nlibcamera_monitor.enabled = false\n");
        testing::WriteFile(folder_ / "home/.config/wireplumber/bluetooth.lua.d/51-plumix-test.lua", "bluez_monitor.enabled = false\n");
    }

    fs::path folder_;
    std::vector<std::unique_ptr<QProcess>> processes_;
};

// Passive, so PipeWire's period is left alone. Each report (the recording's moment the sink plays) is
// read a little after it was made, so it places earlier frames no earlier than they were played.
struct MonitorRecording {
    explicit MonitorRecording(const PrivateServer& server)
    {
        QObject::connect(&process, &QProcess::readyReadStandardOutput, [this] { bytes += process.readAllStandardOutput(); });
        QObject::connect(&process, &QProcess::readyReadStandardError, [this] {
            reports += process.readAllStandardError();
            for (qsizetype end; (end = reports.indexOf('\r')) >= 0; reports.remove(0, end + 1)) {
                if (const qsizetype at = reports.left(end).indexOf("Time: "); at >= 0) {
                    placings.push_back({Now(), reports.mid(at + 6).split(' ').value(0).toDouble() * 1000});
                }
            }
        });
        process.setProcessEnvironment(server.env);
        QStringList options = {"--server=" + server.Address(), "--verbose", "--device=plumix_null.monitor", "--raw",
                               "--format=s16le", "--rate=44100", "--channels=2", "--property=node.passive=true"};
        if (server.kind == Server::PipeWire) {
            options << "--latency-msec=100";  // else it passes the recording on in pieces of 2 s
        }
        process.start("parecord", options);
        // PipeWire makes the recorder's stream only once the graph runs.
        for (int tries = 0; tries < 6 && !placed; ++tries) {
            QProcess::execute("sh", {"-c", "head -c 17640 /dev/zero | pacat --server=" + server.Address() + " --raw"});
            placed = QTest::qWaitFor([this] { return placings.size() >= 3; }, 1000);
        }
    }
    ~MonitorRecording() { Stop(); }

    void Stop()
    {
        process.kill();
        process.waitForFinished(3000);
        bytes += process.readAllStandardOutput();
    }

    // PipeWire's reports run on while its graph sleeps: only those after `notBefore` tell.
    double FrameAt(long frame, double notBefore) const
    {
        double at = 1e18;
        for (const auto& [readAt, playingMs] : placings) {
            if (readAt >= notBefore && playingMs > Ms(frame)) {
                at = std::min(at, readAt - (playingMs - Ms(frame)));
            }
        }
        return at;
    }

    QProcess process;
    bool placed = false;
    QByteArray bytes;  // s16le, stereo
    QByteArray reports;
    std::vector<std::pair<double, double>> placings;  // when read, and the recording's moment then playing
};

struct Request { int afterMs; std::string_view name; };  // afterMs: after the request before

// What a played game asks for, with the silences that matter to a sound server.
const std::vector<Request> Patterns = {
    {0, "fastdrop"},                                   // the first after start-up
    {500, "landing"},                                  // a fast drop lands 0.5 s on
    {10000, "rowflash"},                               // alone after 10 s of silence
    {1000, "landing"},  {40, "rowflash"},              // a landing clears a row
    {1000, "fastdrop"}, {150, "rowflash"}, {200, "landing"}, {120, "fastdrop"}, {250, "rowflash"},  // five within a second
};

class SoundServerTest : public ::testing::TestWithParam<Server> {
protected:
    void SetUp() override
    {
        for (std::size_t e = 0; e < Markers.size(); ++e) {
            std::string data;
            for (long frame = 1; frame <= EffectFrames[e]; ++frame) {
                data += testing::Le(2, {Markers[e], frame});
            }
            testing::WriteFile(folder_ / "game" / SoundEffectFile(static_cast<SoundEffect>(e)), testing::Wav(1, 2, Rate, 16, data));
        }
        if (const QString why = server_.Start(); !why.isEmpty()) {
            GTEST_SKIP() << "No private " << ServerName(GetParam()) << " could be started here: " << why.toStdString();
        }
        qputenv("PULSE_SERVER", server_.Address().toUtf8());
    }

    // Microseconds (waiting for the server takes milliseconds), but when the core goes to another thread.
    void TearDown() override
    {
        if (!requestsTook_.empty()) {
            std::ranges::sort(requestsTook_);
            EXPECT_LT(requestsTook_[requestsTook_.size() / 2], 1) << "longest " << requestsTook_.back() << " ms";
        }
    }

    std::unique_ptr<SoundPlayer> NewPlayer()
    {
        auto player = std::make_unique<SoundPlayer>([this] { return soundOn_; }, std::vector{folder_ / "game"});
        EXPECT_TRUE(QTest::qWaitFor([&] { return player->Connected(); }, 3000)) << "no stream";
        return player;
    }

    // Asks for each effect in turn, never kept waiting; returns when each was asked for.
    std::vector<double> Play(SoundPlayer& player, const std::vector<Request>& requests)
    {
        std::vector<double> askedAt;
        for (const Request& request : requests) {
            QTest::qWait(request.afterMs);
            const long sleeps = Sleeps(RUSAGE_THREAD);
            askedAt.push_back(Now());
            player.PlaySfx(static_cast<SoundEffect>(std::ranges::find(Names, request.name) - Names.begin()));
            requestsTook_.push_back(Now() - askedAt.back());
            EXPECT_EQ(Sleeps(RUSAGE_THREAD), sleeps) << request.name << " kept the game waiting";
        }
        return askedAt;
    }

    // The effects in order, each from its first sample, whole or cut with no gap, within the limit; nothing else.
    void ExpectHeard(SoundPlayer& player, const std::vector<Request>& requests, double limitMs = LatencyLimitMs, bool fromAsleep = false)
    {
        MonitorRecording recording(server_);
        ASSERT_TRUE(recording.placed) << "the recorder never told where the sink plays";
        if (fromAsleep) {  // once the recorder's start has let the graph sleep again
            ASSERT_TRUE(QTest::qWaitFor([&] { return server_.SinkState() == "SUSPENDED"; }, 5000));
        }
        const auto askedAt = Play(player, requests);
        QTest::qWait(500);  // else it would only replace what the server has not played yet
        soundOn_ = false;  // and nothing plays
        player.PlaySfx(SoundEffect::Landing);
        soundOn_ = true;
        QTest::qWait(2500);  // PulseAudio passes the monitor on in pieces of up to 2 s
        recording.Stop();

        // A run: the frames that put one effect's first frame at one place, so a lost period leaves it whole.
        struct Run { std::size_t effect; long origin, at, end; };
        std::vector<Run> runs;
        std::vector<long> noise;
        for (long f = 0; f < recording.bytes.size() / 4; ++f) {
            std::int16_t sample[2];
            std::memcpy(sample, recording.bytes.data() + 4 * f, sizeof sample);
            const auto effect = static_cast<std::size_t>(std::ranges::find(Markers, sample[0]) - Markers.begin());
            if (effect == Markers.size() || sample[1] < 1) {
                if (sample[0] != 0 || sample[1] != 0) {
                    noise.push_back(f);
                }
            } else if (const long origin = f - sample[1] + 1; !runs.empty() && runs.back().effect == effect &&
                                                               runs.back().origin == origin && f - runs.back().end <= MaxDropoutFrames) {
                runs.back().end = f + 1;
            } else {
                runs.push_back({effect, origin, f, f + 1});
            }
        }
        std::vector<std::string_view> heard, wanted;
        std::ranges::transform(runs, std::back_inserter(heard), [](const Run& r) { return Names[r.effect]; });
        std::ranges::transform(requests, std::back_inserter(wanted), &Request::name);
        ASSERT_EQ(heard, wanted);

        // The graph may start one effect a period late, as it may lose one: a game that is late is late again.
        std::vector<double> late;
        for (std::size_t i = 0; i < runs.size(); ++i) {
            SCOPED_TRACE("effect " + std::to_string(i) + " (" + std::string(heard[i]) + ")");
            const Run& run = runs[i];
            const long first = run.at - run.origin;
            // Cut: the next follows at once, or the graph lost the period across the cut with the next one's head.
            const Run* next = i + 1 < runs.size() ? &runs[i + 1] : nullptr;
            const long gap = next != nullptr ? next->at - run.end : 0;
            const bool cut = next != nullptr && (gap == 0 || (gap <= MaxDropoutFrames && run.end <= next->origin && next->origin < next->at));
            std::erase_if(noise, [&](long f) { return f >= run.at && f < (cut ? next->at : run.end); });
            EXPECT_LE(first, UnseenHeadFrames) << "its first " << Ms(first) << " ms never heard";
            EXPECT_TRUE(cut || run.end - run.origin == EffectFrames[run.effect])
                << "heard " << Ms(run.end - run.at) << " of " << Ms(EffectFrames[run.effect]) << " ms, then " << Ms(gap)
                << " ms of silence before the next";
            const double latency = recording.FrameAt(run.at, askedAt[i]) - Ms(first) - askedAt[i];
            if (latency > limitMs) {
                late.push_back(latency);
            }
            EXPECT_LE(latency, limitMs + Ms(MaxDropoutFrames));
            EXPECT_GE(latency, -EarlyLimitMs);
            std::printf("[ latency  ] %-8s %5.1f ms%s\n", heard[i].data(), latency, cut ? ", cut" : "");
        }
        EXPECT_LE(late.size(), 1) << "over " << limitMs << " ms, the latest " << std::ranges::max(late) << " ms";
        EXPECT_TRUE(noise.empty()) << "sound that is no effect's, from " << (noise.empty() ? 0 : Ms(noise[0])) << " ms";
    }

    // The patterns, `silenceMs` of silence and one more; once `other` is gone, sink and player sleep.
    void PlayThePatterns(int silenceMs, QProcess* other = nullptr)
    {
        const auto player = NewPlayer();
        std::vector<Request> requests = Patterns;
        if (silenceMs > 0) {
            requests.push_back({silenceMs, "landing"});
        }
        // The first effect after start-up finds PipeWire's graph asleep.
        ExpectHeard(*player, requests, LatencyLimitMs, other == nullptr && server_.kind == Server::PipeWire);
        if (other != nullptr) {
            other->kill();
            other->waitForFinished(3000);
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return !player->Playing(); }, 2000)) << "the stream never paused";
        EXPECT_TRUE(QTest::qWaitFor([&] { return server_.SinkState() == "SUSPENDED"; }, 3000)) << "the sink never slept";
        EXPECT_LE(WakeupsPerSecond(), IdleWakeupsPerSecond) << "the player keeps waking up";
    }

    testing::ScratchFolder folder_;
    PrivateServer server_{GetParam(), folder_ / "server"};
    bool soundOn_ = true;
    std::vector<double> requestsTook_;
};

TEST_P(SoundServerTest, EveryEffectIsHeardWithin30msOfItsRequestFromItsFirstSampleAndACutLeavesNoGap)
{
    PlayThePatterns(0);
}

// Digital silence on the same sink, asking for no latency as a music player does.
TEST_P(SoundServerTest, AndSoBesideAProgramThatSetsALongPeriodAndAfterAMinuteOfSilence)
{
    QProcess other;
    other.setProcessEnvironment(server_.env);
    other.setStandardInputFile("/dev/zero");
    other.start("pacat", {"--server=" + server_.Address(), "--raw", "--format=s16le", "--rate=44100", "--channels=2"});
    ASSERT_TRUE(other.waitForStarted(3000));
    PlayThePatterns(60000, &other);
}

// Meanwhile the player looks for the server now and then, which wakes it seldom.
TEST_P(SoundServerTest, AServerBackAfter10sIsFoundAgainAndEffectsInTheMeantimeNeitherWaitNorQueue)
{
    const auto player = NewPlayer();
    player->PlaySfx(SoundEffect::RowFlash);
    QTest::qWait(100);
    server_.Kill();
    Play(*player, {{40, "landing"}, {40, "fastdrop"}, {40, "rowflash"}});
    EXPECT_FALSE(QTest::qWaitFor([&] { return player->Connected(); }, 1000));
    EXPECT_LE(WakeupsPerSecond(), IdleWakeupsPerSecond) << "the player keeps waking up";
    QTest::qWait(4000);
    Play(*player, {{0, "landing"}});

    ASSERT_EQ(server_.Start().toStdString(), "");
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->Connected(); }, 3000)) << "not found again";
    // A fresh server (and a player under the sanitizers) may be slower over the first periods.
    ExpectHeard(*player, {{0, "landing"}, {500, "fastdrop"}}, 100);
}

TEST_P(SoundServerTest, TheGameIsOneMixerRowWhoseVolumeAndMuteTheServerKeepsForTheNextRun)
{
    std::vector<QJsonObject> rows;
    const auto oneRow = [&] {
        rows.clear();
        for (const auto& input : server_.List({"sink-inputs"})) {
            if (input.toObject()["properties"].toObject()["application.name"] == "Plumix") {
                rows.push_back(input.toObject());
            }
        }
        return rows.size() == 1;
    };
    auto player = NewPlayer();
    player->PlaySfx(SoundEffect::RowFlash);
    ASSERT_TRUE(QTest::qWaitFor(oneRow, 2000));
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
    ASSERT_TRUE(QTest::qWaitFor(oneRow, 2000));
    EXPECT_EQ(rows[0]["volume"].toObject().begin()->toObject()["value_percent"].toString().toStdString(), "40%");
    EXPECT_TRUE(rows[0]["mute"].toBool());
}

INSTANTIATE_TEST_SUITE_P(Servers, SoundServerTest, ::testing::Values(Server::PulseAudio, Server::PipeWire),
                         [](const auto& info) { return std::string(ServerName(info.param)); });

} // namespace
} // namespace plumix
