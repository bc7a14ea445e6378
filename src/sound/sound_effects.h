// The game's three sound effects and the one voice that plays them: a new
// effect replaces the playing one at its next sample, and each plays to its
// last. The platform's audio output only pulls samples from here.
#pragma once

#include "engine/ports.h"
#include "sound/wav.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace plumix {

// Interleaved 16-bit samples in the output's channel count and rate.
using PcmSamples = std::vector<std::int16_t>;

class OneVoiceMixer {
public:
    explicit OneVoiceMixer(int channels);

    // Replaces whatever plays with `clip` from its first frame. The clip must
    // outlive its playing; an empty one is silence.
    void Start(std::span<const std::int16_t> clip);
    void Stop();

    // Fills `out` (whole frames) with the rest of the voice, then silence.
    void Render(std::span<std::int16_t> out);

    int Channels() const { return channels_; }

private:
    int channels_;
    std::span<const std::int16_t> clip_;  // what is still to play
};

// The effect's file below a data folder ("Sounds/Drop.wav").
std::string_view SoundEffectFile(SoundEffect effect);

// The three effects, read once, before any output's format is known.
class SoundEffects {
public:
    // Reads all three files now, each from the first of `dataFolders` that
    // holds it, so a player's own Clear.wav plays beside the installed
    // Drop.wav; a missing or malformed file stays silent.
    explicit SoundEffects(const std::vector<std::filesystem::path>& dataFolders);
    explicit SoundEffects(const std::filesystem::path& gameFolder) : SoundEffects(std::vector{gameFolder}) {}

    bool HasSound(SoundEffect effect) const;
    // Every effect in an output's format, by SoundEffect; empty without sound.
    std::array<PcmSamples, SoundEffectCount> Converted(int channels, int sampleRate) const;

private:
    std::array<std::optional<AudioClip>, SoundEffectCount> clips_;
};

} // namespace plumix
