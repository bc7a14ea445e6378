// The sound player against a private PulseAudio with a null sink, whose monitor
// is recorded while the game's effects play, compared sample for sample with the
// effect files and placed on the server's own timeline, so that each effect's
// start is measured from its request. Each test runs in a process of its own
// (CTest), since the audio engine of a process connects once, to the server
// named when it starts.
#include "engine/play_options.h"
#include "sound/sound_effects.h"
#include "sound/view/sound_player_qt.h"
#include "sound/wav.h"
#include "support/scratch_folder.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace plumix {
namespace {

namespace fs = std::filesystem;

// The null sink's format, so that what the player writes reaches the monitor unchanged.
constexpr int Rate = 44100;
constexpr int Channels = 2;
constexpr double FramesPerMs = Rate / 1000.0;
// From the request to the effect's first sample on the server's timeline.
constexpr double LatencyLimitMs = 30;
// The timeline is the server's own report, a few milliseconds coarse: an effect
// placed earlier than this before its request means a wrong timeline, not a
// quick player.
constexpr double EarlyLimitMs = 5;
// A new stream makes the server mix again what it had mixed ahead but not played
// (12.5 ms at the player's latency), which the monitor has already passed on:
// the recording may lack that much of an effect's start.
constexpr auto UnseenHeadFrames = static_cast<std::size_t>(15 * FramesPerMs);
// Shorter agreements with a file are chance.
constexpr auto MinimalMatchFrames = static_cast<std::size_t>(2 * FramesPerMs);
// Qt's PulseAudio engine connects again this long after it lost its server.
constexpr double EngineRetryMs = 3200;
// An effect asked for this long after the one before starts after silence.
constexpr int SilenceMs = 1000;
// How long a request may hold the game. Opening an effect's stream is a round
// trip to the server, a millisecond or two, a few tens on a busy machine;
// waiting for the server to play or to answer would be far longer.
constexpr double RequestLimitMs = 50;

double Ms(std::size_t frames) { return static_cast<double>(frames) / FramesPerMs; }

double Now()
{
    static const auto start = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Records the null sink's monitor, asking nothing of the sink's latency, so the
// sink mixes as far ahead as it does with nobody listening. The recorder reports
// every 50 ms which moment of the recording the sink is playing; each report is
// read some time after it was made, and the server's figure lags while the sink
// has mixed far ahead, so each places the recording's first frame no earlier
// than it was played, and the soonest counts. The sink's clock and ours part by
// about 0.1 ms a second, so only the reports near a moment place it.
struct MonitorRecording {
    explicit MonitorRecording(const QString& server)
    {
        QObject::connect(&process, &QProcess::readyReadStandardOutput,
                         [this] { bytes += process.readAllStandardOutput(); });
        QObject::connect(&process, &QProcess::readyReadStandardError, [this] {
            const double now = Now();
            reports += process.readAllStandardError();
            for (qsizetype end; (end = reports.indexOf('\r')) >= 0; reports.remove(0, end + 1)) {
                const QByteArray report = reports.left(end);
                const qsizetype at = report.indexOf("Time: ");
                const double playingSec = at < 0 ? 0 : report.mid(at + 6).split(' ').value(0).toDouble();
                // Zero until the sink plays the recording's first frame.
                if (playingSec > 0) {
                    placings.push_back({now, now - playingSec * 1000});
                }
            }
        });
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LC_ALL", "C");  // a decimal point in the reports
        process.setProcessEnvironment(env);
        process.start("parecord", {"--server=" + server, "--verbose", "--device=plumix_null.monitor", "--raw",
                                   "--format=s16le", "--rate=44100", "--channels=2"});
    }
    ~MonitorRecording() { Stop(); }

    bool Placed() { return QTest::qWaitFor([this] { return placings.size() >= 3; }, 6000); }
    void Stop()
    {
        process.kill();
        process.waitForFinished(3000);
        bytes += process.readAllStandardOutput();
    }
    std::size_t Frames() const { return static_cast<std::size_t>(bytes.size()) / (2 * Channels); }
    // When, on Now()'s clock, the recording's first frame was played, by the
    // reports read within two seconds of `moment`.
    double FirstFrameAt(double moment) const
    {
        double at = 1e18;
        for (const Placing& placing : placings) {
            if (std::abs(placing.readAt - moment) <= 2000) {
                at = std::min(at, placing.firstFrameAt);
            }
        }
        return at;
    }

    struct Placing {
        double readAt;
        double firstFrameAt;
    };
    QProcess process;
    QByteArray bytes;  // s16le
    QByteArray reports;
    std::vector<Placing> placings;
};

struct Heard {
    std::optional<SoundEffect> effect;  // none: sound that is no effect's
    std::size_t start = 0;              // frame of the recording where the file's first frame is (or would be)
    std::size_t head = 0;               // frames of the file's beginning missing from the recording
    std::size_t end = 0;                // frames of the file, from its beginning, up to where the recording left it
};

bool SameFrame(const PcmSamples& a, std::size_t frameA, const PcmSamples& b, std::size_t frameB)
{
    return std::equal(&a[frameA * Channels], &a[frameA * Channels] + Channels, &b[frameB * Channels]);
}

// Splits the recording into the effects it holds, in order: at each sound that
// no earlier effect explains, the file (and the place in its first
// milliseconds) that agrees longest from there, both ways.
std::vector<Heard> WhatWasHeard(const PcmSamples& recording, const std::array<PcmSamples, 3>& clips)
{
    const PcmSamples silence(Channels, 0);
    const std::size_t frames = recording.size() / Channels;
    std::vector<Heard> heard;
    for (std::size_t frame = 0; frame < frames;) {
        if (SameFrame(recording, frame, silence, 0)) {
            ++frame;
            continue;
        }
        Heard best{std::nullopt, frame, 0, 1};
        for (std::size_t i = 0; i < clips.size(); ++i) {
            const std::size_t clipFrames = clips[i].size() / Channels;
            for (std::size_t offset = 0; offset < std::min({clipFrames, frame + 1, UnseenHeadFrames + 1}); ++offset) {
                Heard match{static_cast<SoundEffect>(i), frame - offset, offset, offset};
                while (match.end < clipFrames && match.start + match.end < frames &&
                       SameFrame(recording, match.start + match.end, clips[i], match.end)) {
                    ++match.end;
                }
                while (match.head > 0 && SameFrame(recording, match.start + match.head - 1, clips[i], match.head - 1)) {
                    --match.head;
                }
                if (match.end - offset >= MinimalMatchFrames && match.start + match.end > best.start + best.end) {
                    best = match;
                }
            }
        }
        if (!best.effect && !heard.empty() && !heard.back().effect && heard.back().start + heard.back().end == frame) {
            ++heard.back().end;  // noise runs on
        } else {
            heard.push_back(best);
        }
        frame = std::max(frame + 1, best.start + best.end);
    }
    return heard;
}

std::string Name(std::optional<SoundEffect> effect)
{
    return effect ? std::array{"drop", "rotate", "clear"}[static_cast<std::size_t>(*effect)] : "noise";
}

SoundEffect EffectNamed(std::string_view name)
{
    return name == "drop" ? SoundEffect::Landing : name == "rotate" ? SoundEffect::FastDrop : SoundEffect::RowFlash;
}

struct Request {
    int afterMs;  // after the request before
    const char* name;
    double limitMs = LatencyLimitMs;  // from the request to the effect's first sample
};

// Asks for each effect in turn, never waiting for it; returns when each was asked for.
std::vector<double> Play(SoundPlayer& player, const std::vector<Request>& requests)
{
    std::vector<double> askedAt;
    for (const Request& request : requests) {
        QTest::qWait(request.afterMs);
        askedAt.push_back(Now());
        player.PlaySfx(EffectNamed(request.name));
        EXPECT_LT(Now() - askedAt.back(), RequestLimitMs) << request.name << " kept the game waiting";
    }
    return askedAt;
}

// The recording holds the `asked` effects in order, each once, from its start
// but for what the monitor cannot show, whole or cut by the next, and
// begun on the server's timeline within its limit after its request.
void ExpectHeard(const MonitorRecording& recording, const std::vector<Request>& asked,
                 const std::vector<double>& askedAt)
{
    std::array<PcmSamples, 3> clips;
    for (std::size_t i = 0; i < clips.size(); ++i) {
        const auto file = fs::path(PLUMIX_ASSETS) / SoundEffectFile(static_cast<SoundEffect>(i));
        clips[i] = ConvertClip(ReadWavFile(file).value(), Channels, Rate);
    }
    static_assert(std::endian::native == std::endian::little);
    PcmSamples samples(recording.Frames() * Channels);
    std::memcpy(samples.data(), recording.bytes.data(), samples.size() * sizeof(std::int16_t));
    const std::vector<Heard> heard = WhatWasHeard(samples, clips);
    std::vector<std::string> names, askedNames;
    std::ranges::transform(heard, std::back_inserter(names), [](const Heard& h) { return Name(h.effect); });
    std::ranges::transform(asked, std::back_inserter(askedNames), &Request::name);
    ASSERT_EQ(names, askedNames);

    for (std::size_t i = 0; i < heard.size(); ++i) {
        SCOPED_TRACE("effect " + std::to_string(i) + " (" + names[i] + ")");
        const std::size_t fileFrames = clips[static_cast<std::size_t>(*heard[i].effect)].size() / Channels;
        const std::size_t ends = heard[i].start + heard[i].end;
        const bool whole = Ms(fileFrames - heard[i].end) <= 10;
        // A cut effect stops when the next is asked for, and the next starts
        // within its own latency after that: a busy machine may leave a few
        // milliseconds of silence between them. The monitor shows the cut effect
        // on over what the sink had mixed ahead, as it lacks the head of the next.
        const double firstFrameAt = recording.FirstFrameAt(askedAt[i]);
        const bool cutByNext = i + 1 < heard.size() && firstFrameAt + Ms(ends) >= askedAt[i + 1] - EarlyLimitMs &&
                               ends <= heard[i + 1].start + UnseenHeadFrames;
        EXPECT_TRUE(whole || cutByNext) << "heard " << Ms(heard[i].head) << " to " << Ms(heard[i].end) << " ms of "
                                        << Ms(fileFrames) << " ms, not cut by the next";
        const double latency = firstFrameAt + Ms(heard[i].start) - askedAt[i];
        EXPECT_LE(latency, asked[i].limitMs);
        EXPECT_GE(latency, -EarlyLimitMs);
        std::printf("[ latency  ] %-6s %s %6.1f ms\n", names[i].c_str(),
                    i == 0 || asked[i].afterMs >= SilenceMs ? "after silence" : "after another", latency);
    }
}

// The player comes to rest, and then nothing in the whole program ticks: no
// timer feeds silence or polls for a server.
void ExpectQuietOnceIdle(const SoundPlayer& player)
{
    EXPECT_TRUE(QTest::qWaitFor([&] { return !player.Busy(); }, 1000));
    struct Counter : QObject {
        int timers = 0;
        bool eventFilter(QObject*, QEvent* event) override
        {
            timers += event->type() == QEvent::Timer ? 1 : 0;
            return false;
        }
    } counter;
    QCoreApplication::instance()->installEventFilter(&counter);
    QTest::qWait(300);
    QCoreApplication::instance()->removeEventFilter(&counter);
    EXPECT_EQ(counter.timers, 0) << "something ticks while no effect plays";
}

// What a played game asks for, with the silences that matter to a sound server.
const std::vector<Request> Patterns = {
    {0, "rotate"},                                                                  // the first after start-up
    {500, "drop"},                                                                  // a fast drop lands 0.5 s on
    {5000, "clear"},                                                                // alone after 5 s of silence
    {1000, "drop"}, {40, "clear"},                                                  // a landing clears a row
    {1000, "rotate"}, {150, "clear"}, {200, "drop"}, {120, "rotate"}, {250, "clear"},  // five within a second
};

// A PulseAudio of this test's own: anonymous access on a socket in a scratch
// folder, a null sink as the only output. Started as root it still runs as a
// per-user server in that folder.
class SoundServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testing::WriteFile(folder_ / "server.pa",
                           "load-module module-null-sink sink_name=plumix_null rate=44100 channels=2 format=s16le\n"
                           "set-default-sink plumix_null\n"
                           "load-module module-native-protocol-unix auth-anonymous=1 socket=" +
                               (folder_ / "native").string() + "\n");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"HOME", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME"}) {
            fs::create_directories(folder_ / name);
            fs::permissions(folder_ / name, fs::perms::owner_all);
            env.insert(name, QString::fromStdString((folder_ / name).string()));
        }
        env.remove("PULSE_SERVER");
        server_.setProcessEnvironment(env);
        server_.setProcessChannelMode(QProcess::MergedChannels);
        const QString why = StartServer();
        if (!why.isEmpty()) {
            GTEST_SKIP() << "No PulseAudio server could be started here: " << why.toStdString();
        }
        qputenv("PULSE_SERVER", Address().toUtf8());
    }
    void TearDown() override { KillServer(); }

    QString Address() const { return "unix:" + QString::fromStdString((folder_ / "native").string()); }

    // Empty once the server answers; otherwise why it does not.
    QString StartServer()
    {
        server_.start("pulseaudio", {"-n", "--daemonize=no", "--exit-idle-time=-1", "--system=false",
                                     "--use-pid-file=no", "--realtime=no", "--high-priority=no", "--log-target=stderr",
                                     "--file=" + QString::fromStdString((folder_ / "server.pa").string())});
        const auto answers = [this] {
            QProcess info;
            info.start("pactl", {"--server=" + Address(), "info"});
            return info.waitForFinished(2000) && info.exitStatus() == QProcess::NormalExit && info.exitCode() == 0;
        };
        if (server_.waitForStarted(3000) &&
            QTest::qWaitFor([&] { return server_.state() != QProcess::Running || answers(); }, 5000) &&
            server_.state() == QProcess::Running) {
            return {};
        }
        return "pulseaudio (or pactl) did not answer within 5 s: " + server_.errorString() + "; " +
               QString::fromLocal8Bit(server_.readAll().right(600));
    }

    // The patterns through the player, recorded; with `otherClient`, while
    // another program plays on the same sink all along, as a music player does:
    // asking for no latency of its own.
    void PlayThePatterns(bool otherClient)
    {
        QProcess other;
        if (otherClient) {
            // Digital silence, so that the recording still holds the effects
            // sample for sample.
            other.setStandardInputFile("/dev/zero");
            other.start("pacat", {"--server=" + Address(), "--raw", "--format=s16le", "--rate=44100", "--channels=2"});
            ASSERT_TRUE(other.waitForStarted(3000));
        }
        // Start-up: the game makes its player once its window shows.
        SoundPlayer player(soundOn_, PLUMIX_ASSETS);
        ASSERT_TRUE(player.HasOutput());
        // Placed once the sink plays what it mixed after the recorder came. An
        // idle sink has mixed up to 2 s ahead, and plays that out before it
        // takes the player's latency; the first effect is asked for after that.
        MonitorRecording recording(Address());
        ASSERT_TRUE(recording.Placed()) << "the recorder never told where the sink plays";
        const auto askedAt = Play(player, Patterns);
        // Effects the game does not play: the setting off.
        soundOn_ = false;
        player.PlaySfx(SoundEffect::RowFlash);
        soundOn_ = true;

        ExpectQuietOnceIdle(player);
        recording.Stop();
        ExpectHeard(recording, Patterns, askedAt);
        other.kill();
        other.waitForFinished(3000);
    }

    // Gone at once, as a crashed server.
    void KillServer()
    {
        server_.kill();
        server_.waitForFinished(3000);
    }

    testing::ScratchFolder folder_;
    QProcess server_;
    std::uint8_t soundOn_ = true;
};

TEST_F(SoundServerTest, EveryEffectStartsWithin30msOnTheServersTimelineAndIsHeardWholeOrCutWhereTheNextBegins)
{
    PlayThePatterns(false);
}

TEST_F(SoundServerTest, AndSoWhileAnotherProgramPlaysOnTheSameSink)
{
    PlayThePatterns(true);
}

TEST_F(SoundServerTest, AServerGoneMidEffectLeavesTheGameSilentAndFreeAndEffectsAfterItsReturnAreHeard)
{
    SoundPlayer player(soundOn_, PLUMIX_ASSETS);
    ASSERT_TRUE(player.HasOutput());
    player.PlaySfx(SoundEffect::RowFlash);
    QTest::qWait(100);
    KillServer();
    const double goneAt = Now();

    Play(player, {{40, "drop"}, {40, "rotate"}, {40, "clear"}, {40, "drop"}, {40, "rotate"}});
    ExpectQuietOnceIdle(player);

    ASSERT_EQ(StartServer().toStdString(), "");
    MonitorRecording recording(Address());
    ASSERT_TRUE(recording.Placed()) << "the recorder never told where the sink plays";
    // The audio engine tries the server again a while after it lost it. The
    // new server has mixed up to 2 s ahead before the player's streams ask it
    // for less, and plays that out first; from then on the player's latency
    // holds again.
    const std::vector<Request> afterReturn = {
        {static_cast<int>(std::max(0.0, goneAt + EngineRetryMs - Now())), "drop", 2000 + LatencyLimitMs},
        {2500, "rotate"},
    };
    const auto askedAt = Play(player, afterReturn);
    ExpectQuietOnceIdle(player);
    recording.Stop();
    ExpectHeard(recording, afterReturn, askedAt);
}

// Qt's engine gives up on a server that was not there when it started, so a
// player without one stays silent for the whole run.
TEST(SoundPlayerWithoutServer, IsSilentAndNeverWaits)
{
    const testing::ScratchFolder folder;
    qputenv("PULSE_SERVER", QByteArray("unix:") + (folder / "nobody-listens").c_str());
    const bool soundOn = true;
    SoundPlayer player(soundOn, PLUMIX_ASSETS);
    EXPECT_FALSE(player.HasOutput());
    // Play checks that no request keeps the game waiting.
    Play(player, {{0, "drop"}, {40, "rotate"}, {40, "clear"}});
    ExpectQuietOnceIdle(player);
}

} // namespace
} // namespace plumix
