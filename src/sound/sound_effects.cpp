#include "sound/sound_effects.h"

#include "base/game_folders.h"
#include "sound/wav.h"

#include <algorithm>

namespace plumix {

namespace {

// By SoundEffect.
constexpr std::array<std::string_view, SoundEffectCount> EffectFiles = {
    "Sounds/Drop.wav",
    "Sounds/Rotate.wav",
    "Sounds/Clear.wav",
};

} // namespace

OneVoiceMixer::OneVoiceMixer(int channels, std::size_t tailFrames)
    : channels_(std::max(channels, 1)), tailFrames_(tailFrames)
{
}

void OneVoiceMixer::Start(std::shared_ptr<const PcmSamples> clip)
{
    clip_ = std::move(clip);
    nextSample_ = 0;
    const std::size_t clipFrames = clip_ ? clip_->size() / static_cast<std::size_t>(channels_) : 0;
    framesLeft_ = clipFrames + tailFrames_;
}

void OneVoiceMixer::Stop()
{
    clip_.reset();
    nextSample_ = 0;
    framesLeft_ = 0;
}

PcmSamples OneVoiceMixer::Render(std::size_t frames)
{
    PcmSamples out(frames * static_cast<std::size_t>(channels_), 0);
    if (clip_) {
        const std::size_t wholeSamples = clip_->size() - clip_->size() % static_cast<std::size_t>(channels_);
        const std::size_t count = std::min(out.size(), wholeSamples - std::min(nextSample_, wholeSamples));
        std::copy_n(clip_->begin() + static_cast<std::ptrdiff_t>(nextSample_), count, out.begin());
        nextSample_ += count;
    }
    framesLeft_ -= std::min(framesLeft_, frames);
    if (framesLeft_ == 0) {
        clip_.reset();
    }
    return out;
}

std::string_view SoundEffectFile(SoundEffect effect)
{
    return EffectFiles[static_cast<std::size_t>(effect)];
}

SoundEffects::SoundEffects(const std::vector<std::filesystem::path>& dataFolders, int channels, int sampleRate,
                           std::size_t tailFrames)
    : mixer_(channels, tailFrames)
{
    for (std::size_t i = 0; i < EffectFiles.size(); ++i) {
        const auto clip = ReadWavFile(FolderHolding(dataFolders, EffectFiles[i]) / EffectFiles[i]);
        if (!clip) {
            continue;
        }
        auto samples = ConvertClip(*clip, mixer_.Channels(), sampleRate);
        if (!samples.empty()) {
            clips_[i] = std::make_shared<const PcmSamples>(std::move(samples));
        }
    }
}

bool SoundEffects::PlaySfx(SoundEffect effect, bool soundOn)
{
    if (!soundOn || !HasSound(effect)) {
        return false;
    }
    mixer_.Start(clips_[static_cast<std::size_t>(effect)]);
    return true;
}

bool SoundEffects::HasSound(SoundEffect effect) const
{
    return clips_[static_cast<std::size_t>(effect)] != nullptr;
}

} // namespace plumix
