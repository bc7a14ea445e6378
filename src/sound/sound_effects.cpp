#include "sound/sound_effects.h"

#include "base/game_folders.h"

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

OneVoiceMixer::OneVoiceMixer(int channels) : channels_(std::max(channels, 1)) {}

void OneVoiceMixer::Start(std::span<const std::int16_t> clip)
{
    clip_ = clip.first(clip.size() - clip.size() % static_cast<std::size_t>(channels_));
}

void OneVoiceMixer::Stop()
{
    clip_ = {};
}

void OneVoiceMixer::Render(std::span<std::int16_t> out)
{
    const std::size_t count = std::min(out.size(), clip_.size());
    std::copy_n(clip_.begin(), count, out.begin());
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(count), out.end(), std::int16_t{0});
    clip_ = clip_.subspan(count);
}

std::string_view SoundEffectFile(SoundEffect effect)
{
    return EffectFiles[static_cast<std::size_t>(effect)];
}

SoundEffects::SoundEffects(const std::vector<std::filesystem::path>& dataFolders)
{
    for (std::size_t i = 0; i < EffectFiles.size(); ++i) {
        auto clip = ReadWavFile(FolderHolding(dataFolders, EffectFiles[i]) / EffectFiles[i]);
        if (clip && clip->Frames() > 0) {
            clips_[i] = std::move(clip);
        }
    }
}

bool SoundEffects::HasSound(SoundEffect effect) const
{
    return clips_[static_cast<std::size_t>(effect)].has_value();
}

std::array<PcmSamples, SoundEffectCount> SoundEffects::Converted(int channels, int sampleRate) const
{
    std::array<PcmSamples, SoundEffectCount> out;
    for (std::size_t i = 0; i < clips_.size(); ++i) {
        if (clips_[i]) {
            out[i] = ConvertClip(*clips_[i], channels, sampleRate);
        }
    }
    return out;
}

} // namespace plumix
