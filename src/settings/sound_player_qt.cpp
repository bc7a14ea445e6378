#include "settings/sound_player_qt.h"

#include "settings/wav.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>

#include <algorithm>

namespace plumix {

namespace {

constexpr int FeedIntervalMs = 15;
// The output's target latency: short, so that a new effect is heard at once.
constexpr qint64 BufferUs = 60'000;
// The first second of an effect is handed over at once; the sound server keeps
// it whatever size it asks for, so a short effect never waits on a feed.
constexpr qint64 UpFrontUs = 1'000'000;
// Silence after each effect: an output starts playing only once its buffer has
// filled, and the end of the effect must pass the output's latency before
// the stream is closed.
constexpr qint64 TailUs = 100'000;
// When an output stalls or never reports its progress, give up this long
// after the effect should have ended.
constexpr qint64 GraceUs = 500'000;
constexpr int FallbackRate = 44100;

std::optional<QAudioFormat> OutputFormat(const QAudioDevice& device)
{
    int rate = device.preferredFormat().sampleRate();
    if (rate < MinSampleRate || rate > MaxSampleRate) {
        rate = FallbackRate;
    }
    QAudioFormat format;
    format.setSampleFormat(QAudioFormat::Int16);
    format.setSampleRate(rate);
    for (const int channels : {2, 1}) {
        format.setChannelCount(channels);
        if (device.isFormatSupported(format)) {
            return format;
        }
    }
    return std::nullopt;
}

} // namespace

SoundPlayer::SoundPlayer(const Settings& settings, const std::filesystem::path& gameFolder, QObject* parent)
    : QObject(parent), settings_(settings)
{
    feedTimer_.setInterval(FeedIntervalMs);
    connect(&feedTimer_, &QTimer::timeout, this, &SoundPlayer::Feed);

    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    const auto format = device.isNull() ? std::nullopt : OutputFormat(device);
    if (!format) {
        return;
    }
    format_ = *format;
    const auto tailFrames = static_cast<std::size_t>(format_.framesForDuration(TailUs));
    effects_.emplace(gameFolder, format_.channelCount(), format_.sampleRate(), tailFrames);
    sink_ = new QAudioSink(device, format_, this);
    sink_->setBufferSize(format_.bytesForDuration(BufferUs));
    connect(sink_, &QAudioSink::stateChanged, this, [this](QAudio::State state) {
        if (state == QAudio::StoppedState && sink_->error() != QAudio::NoError && output_ != nullptr) {
            Finish();
        }
    });
}

SoundPlayer::~SoundPlayer()
{
    Finish();
}

void SoundPlayer::PlaySfx(std::string_view name)
{
    if (sink_ == nullptr || !effects_->PlaySfx(name, settings_.soundOn)) {
        return;
    }
    // A fresh stream drops what is still buffered of the previous effect, so
    // the new one cuts it at once.
    output_ = sink_->start();
    if (output_ == nullptr || sink_->error() != QAudio::NoError) {
        Finish();
        return;
    }
    bytesWritten_ = 0;
    deadlineUs_ = static_cast<qint64>(effects_->Mixer().FramesLeft()) * 1'000'000 / format_.sampleRate() + GraceUs;
    sinceStart_.start();
    Feed();
    if (output_ != nullptr) {
        feedTimer_.start();
    }
}

void SoundPlayer::Feed()
{
    if (output_ == nullptr || sink_->state() == QAudio::StoppedState) {
        Finish();
        return;
    }
    if (sinceStart_.nsecsElapsed() / 1000 > deadlineUs_) {
        Finish();
        return;
    }
    OneVoiceMixer& mixer = effects_->Mixer();
    const int frameBytes = format_.bytesPerFrame();
    while (!mixer.Idle()) {
        const qint64 upFront = format_.framesForDuration(UpFrontUs) - bytesWritten_ / frameBytes;
        const auto frames = std::min<qint64>(std::max<qint64>(sink_->bytesFree() / frameBytes, upFront),
                                             static_cast<qint64>(mixer.FramesLeft()));
        if (frames <= 0) {
            break;
        }
        const PcmSamples pcm = mixer.Render(static_cast<std::size_t>(frames));
        const qint64 written = output_->write(reinterpret_cast<const char*>(pcm.data()),
                                              static_cast<qint64>(pcm.size() * sizeof(pcm[0])));
        if (written <= 0) {
            break;
        }
        bytesWritten_ += written;
    }
    if (!mixer.Idle()) {
        return;
    }
    const qint64 writtenUs = bytesWritten_ / frameBytes * 1'000'000 / format_.sampleRate();
    if (sink_->processedUSecs() >= writtenUs) {
        Finish();
    }
}

void SoundPlayer::Finish()
{
    feedTimer_.stop();
    output_ = nullptr;
    bytesWritten_ = 0;
    if (effects_) {
        effects_->Mixer().Stop();
    }
    // Stopping closes the stream, and with it the output's own timer, so an
    // idle game costs nothing.
    if (sink_ != nullptr) {
        sink_->stop();
    }
}

} // namespace plumix
