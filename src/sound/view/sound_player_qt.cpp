#include "sound/view/sound_player_qt.h"

#include "sound/wav.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>

#include <algorithm>

namespace plumix {

namespace {

// What each stream asks the server to keep queued. The server mixes about a
// quarter of it ahead of what is heard (12.5 ms), and as long as the paused
// stream holds it there, a new stream's first sample is heard at most that
// late. An idle server mixes up to seconds ahead and, when a stream asks for
// less, may go on playing what it has already mixed: a stream opened only when
// an effect is asked for is then not heard until that runs out.
constexpr qint64 BufferUs = 50'000;
// Silence after every effect. An effect's stream is closed once the server has
// taken everything, and closing drops what the server has mixed but not played
// yet: with the silence, that is never the effect's end.
constexpr qint64 TailUs = 40'000;
// An effect is handed over this far ahead of what has been heard: all of it
// for the game's effects, in pieces for a long file, which the server could
// not queue whole.
constexpr qint64 AheadUs = 1'000'000;
constexpr int TopUpMs = 250;
// How often the end of an effect is looked for once it should have played,
// and how long a server that stops taking data gets before the stream closes.
constexpr int RestPollMs = 10;
constexpr qint64 RestLimitUs = 500'000;
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

SoundPlayer::SoundPlayer(const bool& soundOn, const std::vector<std::filesystem::path>& dataFolders,
                         QObject* parent)
    : QObject(parent), soundOn_(soundOn)
{
    voiceTimer_.setSingleShot(true);
    voiceTimer_.setTimerType(Qt::PreciseTimer);
    connect(&voiceTimer_, &QTimer::timeout, this, &SoundPlayer::Feed);

    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    const auto format = device.isNull() ? std::nullopt : OutputFormat(device);
    if (!format) {
        return;
    }
    format_ = *format;
    const auto tailFrames = static_cast<std::size_t>(format_.framesForDuration(TailUs));
    effects_.emplace(dataFolders, format_.channelCount(), format_.sampleRate(), tailFrames);
    voice_ = new QAudioSink(device, format_, this);
    holder_ = new QAudioSink(device, format_, this);
    // The server went away or the stream broke: the next effect opens new
    // streams, which work again once the audio engine has reconnected.
    connect(voice_, &QAudioSink::stateChanged, this, [this](QAudio::State state) {
        if (state == QAudio::StoppedState && voiceOutput_ != nullptr) {
            Forget();
        }
    });
    // At once, not at the first effect: an idle server needs a while to come
    // down to the new latency (up to what it had mixed ahead).
    HoldLatency();
}

SoundPlayer::~SoundPlayer()
{
    voiceTimer_.stop();
    if (voice_ != nullptr) {
        disconnect(voice_, nullptr, this, nullptr);
        voiceOutput_ = nullptr;
        voice_->stop();
        holder_->stop();
    }
}

void SoundPlayer::PlaySfx(SoundEffect effect)
{
    if (voice_ == nullptr || !effects_->PlaySfx(effect, soundOn_)) {
        return;
    }
    // Once more after a server was lost; this effect may then be late.
    HoldLatency();
    if (!OpenVoice()) {
        effects_->Mixer().Stop();
        return;
    }
    Feed();
}

void SoundPlayer::HoldLatency()
{
    if (holder_->state() == QAudio::SuspendedState) {
        return;
    }
    holder_->setBufferSize(format_.bytesForDuration(BufferUs));
    if (holder_->start() == nullptr || holder_->state() == QAudio::StoppedState) {
        return;
    }
    // Paused, it asks nothing of the game and still sets the server's latency.
    // Running, its output would tick for nothing: then rather none.
    holder_->suspend();
    if (holder_->state() != QAudio::SuspendedState) {
        holder_->stop();
    }
}

bool SoundPlayer::OpenVoice()
{
    // The effect that is cut goes with its stream, and with what the server
    // still held of it.
    if (voiceOutput_ != nullptr) {
        voiceOutput_ = nullptr;
        voice_->stop();
    }
    // The output keeps what the server granted last time as its next request,
    // and the server grants a little less each time.
    voice_->setBufferSize(format_.bytesForDuration(BufferUs));
    voiceOutput_ = voice_->start();
    if (voiceOutput_ == nullptr || voice_->state() == QAudio::StoppedState) {
        voiceOutput_ = nullptr;
        return false;
    }
    voiceClock_.start();
    framesWritten_ = 0;
    return true;
}

void SoundPlayer::Feed()
{
    if (voiceOutput_ == nullptr) {
        voiceTimer_.stop();
        return;
    }
    OneVoiceMixer& mixer = effects_->Mixer();
    const qint64 elapsedUs = voiceClock_.nsecsElapsed() / 1000;
    if (!mixer.Idle()) {
        const int frameBytes = format_.bytesPerFrame();
        qint64 frames = std::min<qint64>(format_.framesForDuration(elapsedUs + AheadUs) - framesWritten_,
                                         static_cast<qint64>(mixer.FramesLeft()));
        if (framesWritten_ == 0) {
            // A new stream plays once it holds its start threshold, which is
            // never more than what it asks to keep queued; a short effect is
            // made up to that with silence.
            frames = std::max<qint64>(frames, voice_->bufferSize() / frameBytes);
        }
        if (frames > 0) {
            const PcmSamples pcm = mixer.Render(static_cast<std::size_t>(frames));
            const auto bytes = static_cast<qint64>(pcm.size() * sizeof(pcm[0]));
            if (voiceOutput_->write(reinterpret_cast<const char*>(pcm.data()), bytes) < bytes) {
                Forget();
                return;
            }
            framesWritten_ += frames;
        }
        if (!mixer.Idle()) {
            voiceTimer_.start(TopUpMs);
            return;
        }
    }
    const qint64 leftUs = format_.durationForFrames(framesWritten_) - elapsedUs;
    if (leftUs > 0) {
        voiceTimer_.start(static_cast<int>((leftUs + 999) / 1000));
        return;
    }
    // Everything is handed over and due; close once the server has taken all of it.
    if (voice_->bytesFree() >= voice_->bufferSize() || -leftUs > RestLimitUs) {
        Rest();
        return;
    }
    voiceTimer_.start(RestPollMs);
}

void SoundPlayer::Rest()
{
    voiceTimer_.stop();
    if (voiceOutput_ != nullptr) {
        voiceOutput_ = nullptr;
        voice_->stop();
    }
}

void SoundPlayer::Forget()
{
    effects_->Mixer().Stop();
    Rest();
}

} // namespace plumix
