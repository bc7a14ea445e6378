#include "sound/view/sound_player_qt.h"

#include "sound/wav.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>

#include <algorithm>

namespace plumix {

namespace {

// What the stream asks the server to keep queued (it grants about three
// quarters). A new effect is heard after what is queued, so this bounds how
// late it starts; the feed timer must come round well within it, or an effect
// would stutter when the machine is busy.
constexpr qint64 BufferUs = 50'000;
constexpr int FeedIntervalMs = 10;
// Silence fed after every effect. The stream is closed once the server has
// read everything, but the server reads ahead of what it plays and closing
// drops what it has not played yet: with the silence, that is never the
// effect's end.
constexpr qint64 TailUs = 40'000;
// A server that never takes the last of the data (it stalls, or its timing is
// off) still lets the stream rest after this long.
constexpr int DrainLimitMs = 500;
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

SoundPlayer::SoundPlayer(const std::uint8_t& soundOn, const std::vector<std::filesystem::path>& dataFolders,
                         QObject* parent)
    : QObject(parent), soundOn_(soundOn)
{
    feedTimer_.setInterval(FeedIntervalMs);
    feedTimer_.setTimerType(Qt::PreciseTimer);
    connect(&feedTimer_, &QTimer::timeout, this, &SoundPlayer::Feed);

    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    const auto format = device.isNull() ? std::nullopt : OutputFormat(device);
    if (!format) {
        return;
    }
    format_ = *format;
    const auto tailFrames = static_cast<std::size_t>(format_.framesForDuration(TailUs));
    effects_.emplace(dataFolders, format_.channelCount(), format_.sampleRate(), tailFrames);
    sink_ = new QAudioSink(device, format_, this);
    // The server went away or the stream broke: the next effect opens a new
    // stream, which works again once the audio engine has reconnected.
    connect(sink_, &QAudioSink::stateChanged, this, [this](QAudio::State state) {
        if (state == QAudio::StoppedState && output_ != nullptr) {
            Forget();
        }
    });
}

SoundPlayer::~SoundPlayer()
{
    feedTimer_.stop();
    if (sink_ != nullptr) {
        disconnect(sink_, nullptr, this, nullptr);
        output_ = nullptr;
        sink_->stop();
    }
}

void SoundPlayer::PlaySfx(SoundEffect effect)
{
    if (sink_ == nullptr || !effects_->PlaySfx(effect, soundOn_)) {
        return;
    }
    if (!Awake()) {
        effects_->Mixer().Stop();
        return;
    }
    // The mixer has already switched to the new effect: what the stream still
    // holds of the old one plays out, then the new one follows sample for
    // sample.
    Feed();
    if (output_ != nullptr) {
        feedTimer_.start();
    }
}

bool SoundPlayer::Awake()
{
    if (output_ != nullptr) {
        return true;
    }
    // The output keeps what the server granted last time as its next request,
    // and the server grants a little less each time.
    sink_->setBufferSize(format_.bytesForDuration(BufferUs));
    output_ = sink_->start();
    if (output_ == nullptr || sink_->state() == QAudio::StoppedState) {
        output_ = nullptr;
        return false;
    }
    return true;
}

void SoundPlayer::Feed()
{
    if (output_ == nullptr) {
        feedTimer_.stop();
        return;
    }
    OneVoiceMixer& mixer = effects_->Mixer();
    if (!mixer.Idle()) {
        // Only what the server asks for, so that a new effect is never queued
        // behind more than the stream's own buffer.
        const int frameBytes = format_.bytesPerFrame();
        const qint64 frames = std::min<qint64>(sink_->bytesFree() / frameBytes, static_cast<qint64>(mixer.FramesLeft()));
        if (frames > 0) {
            const PcmSamples pcm = mixer.Render(static_cast<std::size_t>(frames));
            const auto bytes = static_cast<qint64>(pcm.size() * sizeof(pcm[0]));
            if (output_->write(reinterpret_cast<const char*>(pcm.data()), bytes) < bytes) {
                Forget();
                return;
            }
        }
        if (mixer.Idle()) {
            drainClock_.start();
        }
        return;
    }
    // Everything is handed over; close once the server has read all of it.
    if (sink_->bytesFree() >= sink_->bufferSize() || drainClock_.elapsed() > DrainLimitMs) {
        Rest();
    }
}

void SoundPlayer::Rest()
{
    feedTimer_.stop();
    output_ = nullptr;
    sink_->stop();
}

void SoundPlayer::Forget()
{
    feedTimer_.stop();
    effects_->Mixer().Stop();
    if (output_ != nullptr) {
        output_ = nullptr;
        sink_->stop();
    }
}

} // namespace plumix
