// WAV files built in memory, so any header can be damaged at will.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace plumix::testing {

// Each value as `bytes` little-endian bytes (two's complement).
inline std::string Le(int bytes, std::initializer_list<std::int64_t> values)
{
    std::string out;
    for (const std::int64_t value : values) {
        for (int i = 0; i < bytes; ++i) {
            out += static_cast<char>(value >> (8 * i));
        }
    }
    return out;
}

// A chunk whose size field may claim another size than its body has.
inline std::string Chunk(std::string_view id, std::string_view body, std::int64_t claimed = -1)
{
    const std::string out = std::string(id) + Le(4, {claimed < 0 ? std::ssize(body) : claimed}) + std::string(body);
    return body.size() % 2 == 1 ? out + '\0' : out;
}

// The extensible form carries `tag` in the standard subformat GUID.
inline std::string Fmt(int tag, int channels, int rate, int bits, bool extensible = false)
{
    const std::string fmt = Le(2, {extensible ? 0xFFFE : tag, channels}) + Le(4, {rate, rate * channels * bits / 8}) +
                            Le(2, {channels * bits / 8, bits});
    return !extensible ? fmt
                       : fmt + Le(2, {22, bits}) + Le(4, {channels == 2 ? 3 : 4}) + Le(2, {tag}) +
                             std::string("\0\0\0\0\x10\0\x80\0\0\xAA\0\x38\x9B\x71", 14);
}

inline std::string Riff(const std::string& chunks) { return "RIFF" + Le(4, {std::ssize(chunks) + 4}) + "WAVE" + chunks; }

inline std::string Wav(int tag, int channels, int rate, int bits, std::string_view data, bool extensible = false)
{
    return Riff(Chunk("fmt ", Fmt(tag, channels, rate, bits, extensible)) + Chunk("data", data));
}

} // namespace plumix::testing
