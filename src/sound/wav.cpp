#include "sound/wav.h"

#include "base/file_io.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace plumix {

namespace {

constexpr std::uint16_t TagPcm = 1;
constexpr std::uint16_t TagFloat = 3;
constexpr std::uint16_t TagExtensible = 0xFFFE;
// The subformat GUID of the extensible header after its first two bytes, which
// carry the plain format tag.
constexpr std::string_view SubformatTail = {"\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14};
constexpr int MaxOutputChannels = 8;

std::uint32_t Le(std::string_view bytes, std::size_t at, int width)
{
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

struct Format {
    std::uint16_t tag = 0;
    int channels = 0;
    int sampleRate = 0;
    int bits = 0;
};

std::optional<Format> ParseFormat(std::string_view fmt)
{
    if (fmt.size() < 16) {
        return std::nullopt;
    }
    Format format{static_cast<std::uint16_t>(Le(fmt, 0, 2)), static_cast<int>(Le(fmt, 2, 2)), 0,
                  static_cast<int>(Le(fmt, 14, 2))};
    const std::uint32_t rate = Le(fmt, 4, 4);
    if (format.tag == TagExtensible) {
        if (fmt.size() < 40 || fmt.substr(26, SubformatTail.size()) != SubformatTail) {
            return std::nullopt;
        }
        format.tag = static_cast<std::uint16_t>(Le(fmt, 24, 2));
    }
    const bool pcm = format.tag == TagPcm && (format.bits == 8 || format.bits == 16 || format.bits == 24 || format.bits == 32);
    const bool flt = format.tag == TagFloat && (format.bits == 32 || format.bits == 64);
    if (!(pcm || flt) || format.channels < 1 || format.channels > 2 || rate < MinSampleRate || rate > MaxSampleRate) {
        return std::nullopt;
    }
    format.sampleRate = static_cast<int>(rate);
    return format;
}

float DecodeSample(std::string_view data, std::size_t at, const Format& format)
{
    double value = 0;
    if (format.tag == TagFloat) {
        if (format.bits == 32) {
            value = std::bit_cast<float>(Le(data, at, 4));
        } else {
            const std::uint64_t bits = Le(data, at, 4) | (std::uint64_t{Le(data, at + 4, 4)} << 32);
            value = std::bit_cast<double>(bits);
        }
        if (!std::isfinite(value)) {
            value = 0;
        }
    } else if (format.bits == 8) {
        value = (static_cast<int>(static_cast<unsigned char>(data[at])) - 128) / 128.0;
    } else {
        // Shift the sample to the top of 32 bits so its sign bit is the sign.
        const std::uint32_t raw = Le(data, at, format.bits / 8) << (32 - format.bits);
        value = static_cast<std::int32_t>(raw) / 2147483648.0;
    }
    return static_cast<float>(std::clamp(value, -1.0, 1.0));
}

} // namespace

std::optional<AudioClip> DecodeWav(std::string_view bytes)
{
    if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE") {
        return std::nullopt;
    }
    std::optional<std::string_view> fmt;
    std::optional<std::string_view> data;
    // Sizes in the headers are not trusted: the file's own length bounds every
    // chunk, and every step moves forward by at least the 8-byte chunk header.
    std::size_t pos = 12;
    while (pos + 8 <= bytes.size() && !(fmt && data)) {
        const std::string_view id = bytes.substr(pos, 4);
        const std::uint64_t size = Le(bytes, pos + 4, 4);
        pos += 8;
        const std::size_t available = bytes.size() - pos;
        const std::string_view body = bytes.substr(pos, static_cast<std::size_t>(std::min<std::uint64_t>(size, available)));
        if (id == "fmt " && !fmt) {
            fmt = body;
        } else if (id == "data" && !data) {
            data = body;
        }
        if (size >= available) {
            break;
        }
        pos += static_cast<std::size_t>(size + (size & 1));
    }
    if (!fmt || !data) {
        return std::nullopt;
    }
    const auto format = ParseFormat(*fmt);
    if (!format) {
        return std::nullopt;
    }
    const std::size_t sampleBytes = static_cast<std::size_t>(format->bits / 8);
    const std::size_t frameBytes = sampleBytes * static_cast<std::size_t>(format->channels);
    const std::size_t frames = std::min(data->size() / frameBytes,
                                        static_cast<std::size_t>(format->sampleRate) * MaxClipSeconds);
    AudioClip clip;
    clip.channels = format->channels;
    clip.sampleRate = format->sampleRate;
    clip.samples.resize(frames * static_cast<std::size_t>(format->channels));
    for (std::size_t i = 0; i < clip.samples.size(); ++i) {
        clip.samples[i] = DecodeSample(*data, i * sampleBytes, *format);
    }
    return clip;
}

std::optional<AudioClip> ReadWavFile(const std::filesystem::path& path)
{
    const auto bytes = ReadFileBytes(path);
    return bytes ? DecodeWav(*bytes) : std::nullopt;
}

std::vector<std::int16_t> ConvertClip(const AudioClip& clip, int channels, int sampleRate)
{
    const std::size_t inFrames = clip.Frames();
    if (channels < 1 || channels > MaxOutputChannels || sampleRate < MinSampleRate ||
        sampleRate > MaxSampleRate || clip.sampleRate < 1 || (clip.channels != 1 && clip.channels != 2) ||
        inFrames == 0) {
        return {};
    }
    const double step = static_cast<double>(clip.sampleRate) / sampleRate;
    const auto outFrames = static_cast<std::size_t>(std::ceil(static_cast<double>(inFrames) / step));
    const auto sourceChannels = static_cast<std::size_t>(clip.channels);
    const auto at = [&](std::size_t frame, std::size_t channel) { return clip.samples[frame * sourceChannels + channel]; };

    std::vector<std::int16_t> out;
    out.reserve(outFrames * static_cast<std::size_t>(channels));
    for (std::size_t i = 0; i < outFrames; ++i) {
        const double position = static_cast<double>(i) * step;
        const auto first = std::min(static_cast<std::size_t>(position), inFrames - 1);
        const std::size_t second = std::min(first + 1, inFrames - 1);
        const double weight = position - static_cast<double>(first);
        const auto sample = [&](std::size_t channel) {
            return at(first, channel) * (1 - weight) + at(second, channel) * weight;
        };
        for (int c = 0; c < channels; ++c) {
            double value = 0;
            if (sourceChannels == 1) {
                value = sample(0);
            } else if (channels == 1) {
                value = (sample(0) + sample(1)) / 2;
            } else if (c < 2) {
                value = sample(static_cast<std::size_t>(c));
            }
            out.push_back(static_cast<std::int16_t>(std::lround(std::clamp(value, -1.0, 1.0) * 32767)));
        }
    }
    return out;
}

} // namespace plumix
