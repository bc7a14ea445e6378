// The game's three sound effects and the one voice that plays them: a new
// effect replaces the playing one at once, and each plays to its last sample.
// The platform's audio output only pulls samples from here.
#pragma once

#include "engine/ports.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace plumix {

// Interleaved 16-bit samples in the output's channel count and rate.
using PcmSamples = std::vector<std::int16_t>;

class OneVoiceMixer {
public:
    // `tailFrames` of silence follow every effect, so an output that starts
    // playing only once its buffer has filled still plays the effect's end.
    explicit OneVoiceMixer(int channels, std::size_t tailFrames = 0);

    // Replaces whatever plays with `clip` from its first sample.
    void Start(std::shared_ptr<const PcmSamples> clip);
    void Stop();

    // The next `frames` frames: the voice, then its silent tail, then silence.
    PcmSamples Render(std::size_t frames);

    // True when the voice and its tail have been rendered.
    bool Idle() const { return framesLeft_ == 0; }
    // Frames of the voice and its tail still to render.
    std::size_t FramesLeft() const { return framesLeft_; }
    int Channels() const { return channels_; }

private:
    int channels_;
    std::size_t tailFrames_;
    std::shared_ptr<const PcmSamples> clip_;
    std::size_t nextSample_ = 0;
    std::size_t framesLeft_ = 0;
};

// The effect's file below a data folder ("Sounds/Drop.wav").
std::string_view SoundEffectFile(SoundEffect effect);

// The three effects, decoded once and kept in the output format, and the rule
// that plays them.
class SoundEffects {
public:
    // Reads and converts all three files now, each from the first of
    // `dataFolders` that holds it, so a player's own Clear.wav plays beside
    // the installed Drop.wav; a missing or malformed file stays silent.
    SoundEffects(const std::vector<std::filesystem::path>& dataFolders, int channels, int sampleRate,
                 std::size_t tailFrames = 0);
    SoundEffects(const std::filesystem::path& gameFolder, int channels, int sampleRate, std::size_t tailFrames = 0)
        : SoundEffects(std::vector{gameFolder}, channels, sampleRate, tailFrames)
    {
    }

    // Starts `effect` unless the sound is off. False, with the
    // voice left as it was, for the setting off or an effect without sound.
    bool PlaySfx(SoundEffect effect, bool soundOn);

    bool HasSound(SoundEffect effect) const;
    OneVoiceMixer& Mixer() { return mixer_; }
    const OneVoiceMixer& Mixer() const { return mixer_; }

private:
    std::array<std::shared_ptr<const PcmSamples>, SoundEffectCount> clips_;
    OneVoiceMixer mixer_;
};

} // namespace plumix
