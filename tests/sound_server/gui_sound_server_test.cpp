// The sound player against a real sound server of our own: a private PulseAudio
// with a null sink, whose monitor is recorded while the game's effects play.
// What the server played is compared sample for sample with the effect files.
// Each test runs in a process of its own (CTest), since the audio engine of a
// process connects once, to the server named when it first starts.
#include "settings/scratch_folder.h"
#include "settings/sound_effects.h"
#include "settings/sound_player_qt.h"
#include "settings/wav.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace plumix {
namespace {

namespace fs = std::filesystem;

// The null sink's format, so that what the player writes reaches the monitor
// unchanged.
constexpr int Rate = 44100;
constexpr int Channels = 2;
constexpr double FramesPerMs = Rate / 1000.0;
constexpr int LatencyLimitMs = 50;
// What the recorder asks of the server: it bounds how much of a stream's start
// the monitor can miss (see UnseenHeadFrames).
constexpr int RecorderLatencyMs = 5;
// Qt's PulseAudio engine connects again this long after it lost its server.
constexpr double EngineRetryMs = 3200;

double Ms(std::size_t frames) { return static_cast<double>(frames) / FramesPerMs; }

QProcessEnvironment ServerEnvironment(const fs::path& folder)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"HOME", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME"}) {
        const fs::path dir = folder / name;
        fs::create_directories(dir);
        fs::permissions(dir, fs::perms::owner_all);
        env.insert(name, QString::fromStdString(dir.string()));
    }
    env.remove("PULSE_SERVER");
    return env;
}

// A PulseAudio of this test's own: anonymous access on a socket in a scratch
// folder, a null sink as the only output. Started as root it still runs as a
// per-user server in that folder.
class SoundServer {
public:
    explicit SoundServer(const fs::path& folder) : folder_(folder), socket_(folder / "native")
    {
        testing::WriteFile(folder / "server.pa",
                           "load-module module-null-sink sink_name=plumix_null rate=44100 channels=2 format=s16le\n"
                           "set-default-sink plumix_null\n"
                           "load-module module-native-protocol-unix auth-anonymous=1 socket=" +
                               socket_.string() + "\n");
        process_.setProcessEnvironment(ServerEnvironment(folder));
        process_.setProcessChannelMode(QProcess::MergedChannels);
    }
    ~SoundServer() { Kill(); }

    QString Address() const { return QStringLiteral("unix:") + QString::fromStdString(socket_.string()); }

    // Empty once the server answers; otherwise why it does not.
    QString Start()
    {
        process_.start(QStringLiteral("pulseaudio"),
                       {"-n", "--daemonize=no", "--exit-idle-time=-1", "--system=false", "--use-pid-file=no",
                        "--realtime=no", "--high-priority=no", "--log-target=stderr",
                        QStringLiteral("--file=") + QString::fromStdString((folder_ / "server.pa").string())});
        if (!process_.waitForStarted(3000)) {
            return QStringLiteral("pulseaudio did not run: ") + process_.errorString();
        }
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 5000) {
            if (process_.state() != QProcess::Running) {
                return QStringLiteral("pulseaudio ended at once: ") + QString::fromLocal8Bit(process_.readAll().right(600));
            }
            QProcess info;
            info.start(QStringLiteral("pactl"), {QStringLiteral("--server=") + Address(), QStringLiteral("info")});
            if (info.waitForFinished(2000) && info.exitStatus() == QProcess::NormalExit && info.exitCode() == 0) {
                return {};
            }
            if (info.error() == QProcess::FailedToStart) {
                return QStringLiteral("pactl did not run: ") + info.errorString();
            }
            QTest::qWait(50);
        }
        return QStringLiteral("pulseaudio did not answer within 5 s: ") + QString::fromLocal8Bit(process_.readAll().right(600));
    }

    // Gone at once, as a crashed server.
    void Kill()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(3000);
        }
    }

private:
    fs::path folder_;
    fs::path socket_;
    QProcess process_;
};

// Records the null sink's monitor, noting when each piece arrived on the
// test's clock, so that a recorded frame can be placed in the test's time.
class MonitorRecording {
public:
    explicit MonitorRecording(const QElapsedTimer& clock) : clock_(clock)
    {
        QObject::connect(&process_, &QProcess::readyReadStandardOutput, [this] { Take(); });
    }
    ~MonitorRecording() { Stop(); }

    void Start(const QString& server)
    {
        process_.start(QStringLiteral("parecord"),
                       {QStringLiteral("--server=") + server, "--device=plumix_null.monitor", "--raw",
                        "--format=s16le", "--rate=44100", "--channels=2",
                        QStringLiteral("--latency-msec=%1").arg(RecorderLatencyMs)});
        ASSERT_TRUE(process_.waitForStarted(3000)) << "parecord: " << process_.errorString().toStdString();
        ASSERT_TRUE(QTest::qWaitFor([this] { return Ms(Frames()) > 50; }, 3000)) << "the monitor gave no samples";
    }

    void Stop()
    {
        if (process_.state() != QProcess::NotRunning) {
            Take();
            process_.kill();
            process_.waitForFinished(3000);
        }
    }

    std::size_t Frames() const { return samples_.size() / Channels; }
    const PcmSamples& Samples() const { return samples_; }

    // The test's time of a recorded frame. Every piece arrives some time after
    // its last frame was played; the piece that arrived soonest bounds that
    // delay, so times derived from it are never early (at worst late by the
    // capture's own smallest delay).
    double TimeOfFrame(std::size_t frame) const
    {
        double offset = 1e18;
        for (const auto& [endFrame, arrivedMs] : arrivals_) {
            offset = std::min(offset, arrivedMs - Ms(endFrame));
        }
        return offset + Ms(frame);
    }

private:
    void Take()
    {
        const QByteArray bytes = process_.readAllStandardOutput();
        const double now = static_cast<double>(clock_.nsecsElapsed()) / 1e6;
        pending_.append(bytes);
        const qsizetype whole = pending_.size() - pending_.size() % (2 * Channels);
        for (qsizetype i = 0; i < whole; i += 2) {
            const auto lo = static_cast<unsigned char>(pending_[i]);
            const auto hi = static_cast<unsigned char>(pending_[i + 1]);
            samples_.push_back(static_cast<std::int16_t>(lo | (hi << 8)));
        }
        pending_.remove(0, whole);
        if (whole > 0) {
            arrivals_.emplace_back(Frames(), now);
        }
    }

    const QElapsedTimer& clock_;
    QProcess process_;
    QByteArray pending_;
    PcmSamples samples_;
    std::vector<std::pair<std::size_t, double>> arrivals_;
};

struct Heard {
    std::optional<SoundEffect> effect;  // none: sound that is no effect's
    std::size_t start = 0;              // frame of the recording where the file's first frame is (or would be)
    std::size_t head = 0;               // frames of the file's beginning missing from the recording
    std::size_t end = 0;                // frames of the file, from its beginning, up to where the recording left it
};

bool FramesEqual(const PcmSamples& a, std::size_t frameA, const PcmSamples& b, std::size_t frameB)
{
    return std::equal(a.begin() + static_cast<std::ptrdiff_t>(frameA * Channels),
                      a.begin() + static_cast<std::ptrdiff_t>((frameA + 1) * Channels),
                      b.begin() + static_cast<std::ptrdiff_t>(frameB * Channels));
}

bool SilentFrame(const PcmSamples& pcm, std::size_t frame)
{
    return std::all_of(pcm.begin() + static_cast<std::ptrdiff_t>(frame * Channels),
                       pcm.begin() + static_cast<std::ptrdiff_t>((frame + 1) * Channels),
                       [](std::int16_t s) { return s == 0; });
}

// The recording at `frame` read as `clip` from its frame `offset`: how far
// it agrees with the file both ways. `offset` is at most `frame`.
Heard Match(const PcmSamples& recording, std::size_t frame, const PcmSamples& clip, std::size_t offset)
{
    const std::size_t start = frame - offset;  // where the clip's first frame falls
    const std::size_t recorded = recording.size() / Channels;
    const std::size_t clipFrames = clip.size() / Channels;
    std::size_t end = offset;
    while (end < clipFrames && start + end < recorded && FramesEqual(recording, start + end, clip, end)) {
        ++end;
    }
    std::size_t head = offset;
    while (head > 0 && FramesEqual(recording, start + head - 1, clip, head - 1)) {
        --head;
    }
    return {std::nullopt, start, head, end};
}

// A new stream makes the server rewrite the part of the sink's buffer that it
// has not played yet, so that the stream is heard at once; the monitor has
// already passed that part on and shows only what follows. The recording may
// so lack the first few milliseconds of what was played: as much as the
// recorder's latency.
constexpr auto UnseenHeadFrames = static_cast<std::size_t>((RecorderLatencyMs + 1) * FramesPerMs);
// Shorter agreements are chance.
constexpr auto MinimalMatchFrames = static_cast<std::size_t>(2 * FramesPerMs);

// Splits the recording into the effects it holds, in order: at each sound
// that no earlier effect explains, the file (and the place in its first
// milliseconds) that matches longest from there.
std::vector<Heard> WhatWasHeard(const PcmSamples& recording, const std::array<PcmSamples, 3>& clips)
{
    std::vector<Heard> heard;
    const std::size_t frames = recording.size() / Channels;
    std::size_t frame = 0;
    while (frame < frames) {
        if (SilentFrame(recording, frame)) {
            ++frame;
            continue;
        }
        Heard best{std::nullopt, frame, 0, 1};
        for (std::size_t i = 0; i < clips.size(); ++i) {
            const std::size_t offsets = std::min({clips[i].size() / Channels, frame + 1, UnseenHeadFrames + 1});
            for (std::size_t offset = 0; offset < offsets; ++offset) {
                Heard match = Match(recording, frame, clips[i], offset);
                if (match.end - offset >= MinimalMatchFrames && match.start + match.end > best.start + best.end) {
                    match.effect = static_cast<SoundEffect>(i);
                    best = match;
                }
            }
        }
        const std::size_t next = best.start + best.end;
        if (!best.effect && !heard.empty() && !heard.back().effect && heard.back().start + heard.back().end == frame) {
            ++heard.back().end;
        } else {
            heard.push_back(best);
        }
        frame = std::max(frame + 1, next);
    }
    return heard;
}

std::string Name(std::optional<SoundEffect> effect)
{
    static constexpr std::array<const char*, 3> Names = {"drop", "rotate", "clear"};
    return effect ? Names[static_cast<std::size_t>(*effect)] : "noise";
}

std::array<PcmSamples, 3> EffectFiles()
{
    std::array<PcmSamples, 3> clips;
    for (std::size_t i = 0; i < clips.size(); ++i) {
        const auto clip = ReadWavFile(fs::path(PLUMIX_ASSETS) / SoundEffectFile(static_cast<SoundEffect>(i)));
        if (clip) {
            clips[i] = ConvertClip(*clip, Channels, Rate);
        }
    }
    return clips;
}

// Counts the timer events of the whole program while it waits.
int TimerEventsDuring(int ms)
{
    struct Counter : QObject {
        int count = 0;
        bool eventFilter(QObject*, QEvent* event) override
        {
            count += event->type() == QEvent::Timer ? 1 : 0;
            return false;
        }
    } counter;
    QCoreApplication::instance()->installEventFilter(&counter);
    QTest::qWait(ms);
    QCoreApplication::instance()->removeEventFilter(&counter);
    return counter.count;
}

class SoundServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString why = server_.Start();
        if (!why.isEmpty()) {
            GTEST_SKIP() << "No PulseAudio server could be started here, so no effect was played through one: "
                         << why.toStdString();
        }
        qputenv("PULSE_SERVER", server_.Address().toUtf8());
        clock_.start();
    }

    double Now() const { return static_cast<double>(clock_.nsecsElapsed()) / 1e6; }

    testing::ScratchFolder folder_;
    SoundServer server_{folder_.Path()};
    QElapsedTimer clock_;
    Settings settings_;
};

struct Request {
    int afterMs;  // after the request before
    const char* name;
};

// The road of a played game: fast drops that land 0.55 s after they start, a
// landing that clears a row at once, the first effect after start-up and after
// a long silence, effects that cut each other, and a burst of five.
constexpr std::array<Request, 14> Game = {{
    {0, "rotate"}, {550, "drop"},   {40, "clear"},                                    // start-up, landing, clear
    {1000, "drop"},                                                                   // after a silence
    {150, "rotate"}, {30, "clear"}, {200, "drop"}, {120, "rotate"}, {250, "clear"},   // five within a second
    {400, "rotate"}, {550, "drop"}, {500, "rotate"}, {550, "drop"}, {20, "clear"},    // two more fast drops
}};

TEST_F(SoundServerTest, EveryEffectIsHeardOnceFromItsStartWholeOrCutWhereTheNextBegins)
{
    MonitorRecording recording(clock_);
    recording.Start(server_.Address());
    if (HasFatalFailure()) {
        return;
    }
    SoundPlayer player(settings_, PLUMIX_ASSETS);
    ASSERT_TRUE(player.HasOutput());

    std::vector<double> askedAt;
    double longestCallMs = 0;
    for (const Request& request : Game) {
        QTest::qWait(request.afterMs);
        askedAt.push_back(Now());
        player.PlaySfx(request.name);
        longestCallMs = std::max(longestCallMs, Now() - askedAt.back());
    }
    // Effects the game does not play: the setting off, a name of another case.
    settings_.soundOn = 2;
    player.PlaySfx("clear");
    settings_.soundOn = 1;
    player.PlaySfx("Drop");

    EXPECT_TRUE(QTest::qWaitFor([&] { return !player.Busy(); }, 3000));
    EXPECT_EQ(TimerEventsDuring(300), 0) << "something ticks while no effect plays";
    recording.Stop();
    EXPECT_LT(longestCallMs, 20);

    const auto clips = EffectFiles();
    const std::vector<Heard> heard = WhatWasHeard(recording.Samples(), clips);
    std::vector<std::string> asked;
    std::vector<std::string> names;
    std::transform(Game.begin(), Game.end(), std::back_inserter(asked), [](const Request& r) { return r.name; });
    std::transform(heard.begin(), heard.end(), std::back_inserter(names), [](const Heard& h) { return Name(h.effect); });
    ASSERT_EQ(names, asked);

    double worstLatency = 0;
    for (std::size_t i = 0; i < heard.size(); ++i) {
        SCOPED_TRACE("effect " + std::to_string(i) + " (" + names[i] + ")");
        const std::size_t fileFrames = clips[static_cast<std::size_t>(*heard[i].effect)].size() / Channels;
        const std::size_t ends = heard[i].start + heard[i].end;
        const bool whole = Ms(heard[i].head + fileFrames - heard[i].end) <= 10;
        const bool cutByNext = i + 1 < heard.size() && heard[i + 1].start <= ends && Ms(ends - heard[i + 1].start) <= 1;
        EXPECT_LE(heard[i].head, UnseenHeadFrames);
        EXPECT_TRUE(whole || cutByNext) << "heard from " << Ms(heard[i].head) << " to " << Ms(heard[i].end)
                                        << " ms of " << Ms(fileFrames) << " ms; the next began "
                                        << (i + 1 < heard.size() ? Ms(heard[i + 1].start - heard[i].start) : 0)
                                        << " ms after its start";
        const double latency = recording.TimeOfFrame(heard[i].start) - askedAt[i];
        EXPECT_LE(latency, LatencyLimitMs);
        // The monitor runs ahead of the output by what the sink has rendered,
        // and a new stream is placed that far back; more would be a wrong clock.
        EXPECT_GE(latency, -(RecorderLatencyMs + 1));
        worstLatency = std::max(worstLatency, latency);
    }
    std::cout << "[ sound    ] " << heard.size() << " effects heard; longest wait from the request to the first "
              << "sample at the server " << worstLatency << " ms; longest PlaySfx call " << longestCallMs << " ms\n";
}

// Plays `names` one after another, a little apart, and returns how long the
// longest call took.
double LongestCall(SoundPlayer& player, std::initializer_list<const char*> names)
{
    double longest = 0;
    for (const char* name : names) {
        QElapsedTimer call;
        call.start();
        player.PlaySfx(name);
        longest = std::max(longest, static_cast<double>(call.nsecsElapsed()) / 1e6);
        QTest::qWait(40);
    }
    return longest;
}

TEST_F(SoundServerTest, AServerGoneMidEffectLeavesTheGameSilentAndFreeAndTheFirstEffectAfterItsReturnIsHeard)
{
    SoundPlayer player(settings_, PLUMIX_ASSETS);
    ASSERT_TRUE(player.HasOutput());
    player.PlaySfx("clear");
    QTest::qWait(100);
    server_.Kill();
    const double goneAt = Now();

    EXPECT_LT(LongestCall(player, {"drop", "rotate", "clear", "drop", "rotate"}), 20);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !player.Busy(); }, 1000));
    EXPECT_EQ(TimerEventsDuring(300), 0) << "something polls for the server";

    ASSERT_EQ(server_.Start().toStdString(), "");
    MonitorRecording recording(clock_);
    recording.Start(server_.Address());
    // The audio engine tries the server again 3 s after it lost it.
    QTest::qWait(static_cast<int>(std::max(0.0, goneAt + EngineRetryMs - Now())));
    player.PlaySfx("drop");
    QTest::qWait(300);
    recording.Stop();
    const std::vector<Heard> heard = WhatWasHeard(recording.Samples(), EffectFiles());
    ASSERT_EQ(heard.size(), 1U);
    EXPECT_EQ(Name(heard[0].effect), "drop");
    EXPECT_LE(heard[0].head, UnseenHeadFrames);
    EXPECT_LE(Ms(heard[0].head + EffectFiles()[0].size() / Channels - heard[0].end), 10);
}

// Qt's engine gives up on a server that was not there when it started, so
// a player without one stays silent for the whole run.
TEST(SoundPlayerWithoutServer, IsSilentAndNeverWaits)
{
    const testing::ScratchFolder folder;
    qputenv("PULSE_SERVER", QByteArray("unix:") + (folder / "nobody-listens").c_str());
    Settings settings;
    SoundPlayer player(settings, PLUMIX_ASSETS);
    EXPECT_FALSE(player.HasOutput());
    EXPECT_LT(LongestCall(player, {"drop", "rotate", "clear"}), 20);
    EXPECT_FALSE(player.Busy());
    EXPECT_EQ(TimerEventsDuring(200), 0);
}

} // namespace
} // namespace plumix
