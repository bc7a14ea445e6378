// The sound player against a private PulseAudio with a null sink, whose monitor
// is recorded while the game's effects play and compared sample for sample with
// the effect files. Each test runs in a process of its own (CTest), since the
// audio engine of a process connects once, to the server named when it starts.
#include "support/scratch_folder.h"
#include "sound/sound_effects.h"
#include "sound/view/sound_player_qt.h"
#include "sound/wav.h"
#include "engine/play_options.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
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
constexpr int LatencyLimitMs = 50;
// What the recorder asks of the server. A new stream makes the server rewrite the
// part of the sink's buffer not played yet, which the monitor has already passed
// on: the recording may lack as much of an effect's start as this latency.
constexpr int RecorderLatencyMs = 5;
constexpr auto UnseenHeadFrames = static_cast<std::size_t>((RecorderLatencyMs + 1) * FramesPerMs);
// Shorter agreements with a file are chance.
constexpr auto MinimalMatchFrames = static_cast<std::size_t>(2 * FramesPerMs);
// Qt's PulseAudio engine connects again this long after it lost its server.
constexpr double EngineRetryMs = 3200;

double Ms(std::size_t frames) { return static_cast<double>(frames) / FramesPerMs; }

double Now()
{
    static const auto start = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Records the null sink's monitor. Every piece arrives some time after its last
// frame was played; the piece that arrived soonest bounds that delay, so the
// time of the first frame derived from it is never early (at worst late by the
// capture's own smallest delay).
struct MonitorRecording {
    explicit MonitorRecording(const QString& server)
    {
        QObject::connect(&process, &QProcess::readyReadStandardOutput, [this] {
            bytes += process.readAllStandardOutput();
            firstFrameAt = std::min(firstFrameAt, Now() - Ms(Frames()));
        });
        process.start("parecord", {"--server=" + server, "--device=plumix_null.monitor", "--raw", "--format=s16le",
                                   "--rate=44100", "--channels=2", QString("--latency-msec=%1").arg(RecorderLatencyMs)});
    }
    ~MonitorRecording() { Stop(); }

    bool SamplesCome() { return QTest::qWaitFor([this] { return Ms(Frames()) > 50; }, 3000); }
    void Stop()
    {
        process.kill();
        process.waitForFinished(3000);
    }
    std::size_t Frames() const { return static_cast<std::size_t>(bytes.size()) / (2 * Channels); }

    QProcess process;
    QByteArray bytes;  // s16le
    double firstFrameAt = 1e18;
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

struct Request {
    int afterMs;  // after the request before
    const char* name;
};

SoundEffect EffectNamed(std::string_view name)
{
    return name == "drop" ? SoundEffect::Drop : name == "rotate" ? SoundEffect::Rotate : SoundEffect::Clear;
}

// Asks for each effect in turn, never waiting for it; returns when each was asked for.
std::vector<double> Play(SoundPlayer& player, const std::vector<Request>& requests)
{
    std::vector<double> askedAt;
    for (const auto& [afterMs, name] : requests) {
        QTest::qWait(afterMs);
        askedAt.push_back(Now());
        player.PlaySfx(EffectNamed(name));
        EXPECT_LT(Now() - askedAt.back(), 20) << name << " kept the game waiting";
    }
    return askedAt;
}

// The recording holds the `asked` effects in order, each once, from its start
// but for what the monitor cannot show, whole or cut where the next begins, and
// begun within the latency limit.
void ExpectHeard(const MonitorRecording& recording, const std::vector<Request>& asked, const std::vector<double>& askedAt)
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
        const bool whole = Ms(heard[i].head + fileFrames - heard[i].end) <= 10;
        const bool cutByNext = i + 1 < heard.size() && heard[i + 1].start <= ends && Ms(ends - heard[i + 1].start) <= 1;
        EXPECT_TRUE(whole || cutByNext) << "heard " << Ms(heard[i].head) << " to " << Ms(heard[i].end) << " ms of "
                                        << Ms(fileFrames) << " ms, not cut where the next began";
        const double latency = recording.firstFrameAt + Ms(heard[i].start) - askedAt[i];
        EXPECT_LE(latency, LatencyLimitMs);
        // The monitor runs ahead of the output by what the sink has rendered, and
        // a new stream is placed that far back; more would be a wrong clock.
        EXPECT_GE(latency, -(RecorderLatencyMs + 1));
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

    // Gone at once, as a crashed server.
    void KillServer()
    {
        server_.kill();
        server_.waitForFinished(3000);
    }

    testing::ScratchFolder folder_;
    QProcess server_;
    std::uint8_t soundOn_ = SettingOn;
};

// The road of a played game: fast drops that land 0.55 s after they start, a
// landing that clears a row at once, the first effect after start-up and after
// a long silence, effects that cut each other, and a burst of five.
const std::vector<Request> Game = {
    {0, "rotate"}, {550, "drop"},   {40, "clear"},                                    // start-up, landing, clear
    {1000, "drop"},                                                                   // after a silence
    {150, "rotate"}, {30, "clear"}, {200, "drop"}, {120, "rotate"}, {250, "clear"},   // five within a second
    {400, "rotate"}, {550, "drop"}, {500, "rotate"}, {550, "drop"}, {20, "clear"},    // two more fast drops
};

TEST_F(SoundServerTest, EveryEffectIsHeardOnceFromItsStartWholeOrCutWhereTheNextBegins)
{
    MonitorRecording recording(Address());
    ASSERT_TRUE(recording.SamplesCome()) << "the monitor gave no samples";
    SoundPlayer player(soundOn_, PLUMIX_ASSETS);
    ASSERT_TRUE(player.HasOutput());
    const auto askedAt = Play(player, Game);
    // Effects the game does not play: the setting off.
    soundOn_ = SettingOff;
    player.PlaySfx(SoundEffect::Clear);
    soundOn_ = SettingOn;

    ExpectQuietOnceIdle(player);
    recording.Stop();
    ExpectHeard(recording, Game, askedAt);
}

TEST_F(SoundServerTest, AServerGoneMidEffectLeavesTheGameSilentAndFreeAndTheFirstEffectAfterItsReturnIsHeard)
{
    SoundPlayer player(soundOn_, PLUMIX_ASSETS);
    ASSERT_TRUE(player.HasOutput());
    player.PlaySfx(SoundEffect::Clear);
    QTest::qWait(100);
    KillServer();
    const double goneAt = Now();

    Play(player, {{40, "drop"}, {40, "rotate"}, {40, "clear"}, {40, "drop"}, {40, "rotate"}});
    ExpectQuietOnceIdle(player);

    ASSERT_EQ(StartServer().toStdString(), "");
    MonitorRecording recording(Address());
    ASSERT_TRUE(recording.SamplesCome()) << "the monitor gave no samples";
    // The audio engine tries the server again a while after it lost it.
    const std::vector<Request> drop = {{static_cast<int>(std::max(0.0, goneAt + EngineRetryMs - Now())), "drop"}};
    const auto askedAt = Play(player, drop);
    QTest::qWait(300);
    recording.Stop();
    ExpectHeard(recording, drop, askedAt);
}

// Qt's engine gives up on a server that was not there when it started, so a
// player without one stays silent for the whole run.
TEST(SoundPlayerWithoutServer, IsSilentAndNeverWaits)
{
    const testing::ScratchFolder folder;
    qputenv("PULSE_SERVER", QByteArray("unix:") + (folder / "nobody-listens").c_str());
    const std::uint8_t soundOn = SettingOn;
    SoundPlayer player(soundOn, PLUMIX_ASSETS);
    EXPECT_FALSE(player.HasOutput());
    Play(player, {{0, "drop"}, {40, "rotate"}, {40, "clear"}});
    EXPECT_FALSE(player.Busy());
    ExpectQuietOnceIdle(player);
}

} // namespace
} // namespace plumix
