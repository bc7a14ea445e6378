// Our own reader of RIFF/WAVE sound files and the conversion of a clip to the
// sample format of the audio output.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace plumix {

struct AudioClip {
    std::vector<float> samples;  // interleaved, -1..1
    int channels = 1;            // 1 or 2
    int sampleRate = 44100;
    std::size_t Frames() const { return channels > 0 ? samples.size() / static_cast<std::size_t>(channels) : 0; }
};

inline constexpr int MinSampleRate = 4000;
inline constexpr int MaxSampleRate = 192000;
// Sound effects last a moment; a file claiming more is cut here, which bounds
// what a damaged file can make us allocate.
inline constexpr int MaxClipSeconds = 60;

// Decodes integer PCM of 8, 16, 24 or 32 bits, float of 32 or 64 bits (format
// tags 1 and 3, and the extensible tag with those subformats), mono or stereo,
// 4000..192000 Hz. A data chunk that runs past the end of the file gives the
// whole frames that are there. Nullopt for anything else, or for no "fmt " or
// "data" chunk.
std::optional<AudioClip> DecodeWav(std::string_view bytes);
std::optional<AudioClip> ReadWavFile(const std::filesystem::path& path);

// The clip as interleaved 16-bit samples with `channels` channels at
// `sampleRate`, resampled by linear interpolation. Mono is copied to every
// output channel; stereo is averaged for a mono output and leaves the channels
// after the second silent. Empty for a channel count or rate out of range.
std::vector<std::int16_t> ConvertClip(const AudioClip& clip, int channels, int sampleRate);

} // namespace plumix
