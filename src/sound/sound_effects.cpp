#include "sound/sound_effects.h"

#include "base/game_folders.h"
#include "sound/wav.h"

#include <algorithm>

namespace plumix {

namespace {

struct EffectEntry {
    std::string_view name;
    std::string_view file;
};

// In the order the names are compared.
constexpr std::array<EffectEntry, 3> Effects = {{
    {"drop", "Sounds/Drop.wav"},
    {"rotate", "Sounds/Rotate.wav"},
    {"clear", "Sounds/Clear.wav"},
}};

constexpr std::uint8_t SoundOff = 2;

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

std::optional<SoundEffect> SoundEffectNamed(std::string_view name)
{
    for (std::size_t i = 0; i < Effects.size(); ++i) {
        if (Effects[i].name == name) {
            return static_cast<SoundEffect>(i);
        }
    }
    return std::nullopt;
}

std::string_view SoundEffectFile(SoundEffect effect)
{
    return Effects[static_cast<std::size_t>(effect)].file;
}

SoundEffects::SoundEffects(const std::vector<std::filesystem::path>& dataFolders, int channels, int sampleRate,
                           std::size_t tailFrames)
    : mixer_(channels, tailFrames)
{
    for (std::size_t i = 0; i < Effects.size(); ++i) {
        const auto clip = ReadWavFile(FolderHolding(dataFolders, Effects[i].file) / Effects[i].file);
        if (!clip) {
            continue;
        }
        auto samples = ConvertClip(*clip, mixer_.Channels(), sampleRate);
        if (!samples.empty()) {
            clips_[i] = std::make_shared<const PcmSamples>(std::move(samples));
        }
    }
}

bool SoundEffects::PlaySfx(std::string_view name, std::uint8_t soundOn)
{
    if (soundOn == SoundOff) {
        return false;
    }
    const auto effect = SoundEffectNamed(name);
    if (!effect || !HasSound(*effect)) {
        return false;
    }
    mixer_.Start(clips_[static_cast<std::size_t>(*effect)]);
    return true;
}

bool SoundEffects::HasSound(SoundEffect effect) const
{
    return clips_[static_cast<std::size_t>(effect)] != nullptr;
}

} // namespace plumix
