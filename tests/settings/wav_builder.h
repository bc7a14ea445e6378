// Builds RIFF/WAVE files in memory, so that sound tests need no binary
// fixtures and can damage the headers at will.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace plumix::testing {

inline void PutLe(std::string& out, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

inline std::string Chunk(std::string_view id, std::string_view body, std::uint32_t claimedSize)
{
    std::string out(id);
    PutLe(out, claimedSize, 4);
    out += body;
    if (body.size() % 2 == 1) {
        out += '\0';
    }
    return out;
}

inline std::string Chunk(std::string_view id, std::string_view body)
{
    return Chunk(id, body, static_cast<std::uint32_t>(body.size()));
}

inline std::string FormatBody(int tag, int channels, int rate, int bits, bool extensible = false,
                              std::string_view guidTail = {"\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14})
{
    std::string fmt;
    PutLe(fmt, extensible ? 0xFFFE : static_cast<std::uint64_t>(tag), 2);
    PutLe(fmt, static_cast<std::uint64_t>(channels), 2);
    PutLe(fmt, static_cast<std::uint64_t>(rate), 4);
    PutLe(fmt, static_cast<std::uint64_t>(rate * channels * bits / 8), 4);
    PutLe(fmt, static_cast<std::uint64_t>(channels * bits / 8), 2);
    PutLe(fmt, static_cast<std::uint64_t>(bits), 2);
    if (extensible) {
        PutLe(fmt, 22, 2);
        PutLe(fmt, static_cast<std::uint64_t>(bits), 2);
        PutLe(fmt, channels == 2 ? 3 : 4, 4);
        PutLe(fmt, static_cast<std::uint64_t>(tag), 2);
        fmt += guidTail;
    }
    return fmt;
}

inline std::string Riff(std::string_view chunks)
{
    std::string out = "RIFF";
    PutLe(out, chunks.size() + 4, 4);
    out += "WAVE";
    out += chunks;
    return out;
}

inline std::string MakeWav(int tag, int channels, int rate, int bits, std::string_view data, bool extensible = false)
{
    return Riff(Chunk("fmt ", FormatBody(tag, channels, rate, bits, extensible)) + Chunk("data", data));
}

// 16-bit little-endian samples as data bytes.
inline std::string Samples16(std::initializer_list<int> samples)
{
    std::string out;
    for (const int s : samples) {
        PutLe(out, static_cast<std::uint16_t>(s), 2);
    }
    return out;
}

} // namespace plumix::testing
