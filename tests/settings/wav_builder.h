// Builds RIFF/WAVE files in memory, so sound tests need no binary fixtures
// and can damage any header at will.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace plumix::testing {

inline void PutLe(std::string& out, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

// A chunk whose size field may claim another size than its body has.
inline std::string Chunk(std::string_view id, std::string_view body, std::int64_t claimed = -1)
{
    std::string out(id);
    PutLe(out, claimed < 0 ? body.size() : static_cast<std::uint64_t>(claimed), 4);
    out += body;
    return body.size() % 2 == 1 ? out + '\0' : out;
}

inline constexpr std::string_view StandardGuidTail{"\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14};

inline std::string FormatBody(int tag, int channels, int rate, int bits, bool extensible = false,
                              std::string_view guidTail = StandardGuidTail)
{
    std::string fmt;
    for (const auto& [value, size] : {std::pair{extensible ? 0xFFFE : tag, 2}, {channels, 2}, {rate, 4},
                                     {rate * channels * bits / 8, 4}, {channels * bits / 8, 2}, {bits, 2}}) {
        PutLe(fmt, static_cast<std::uint64_t>(value), size);
    }
    if (extensible) {
        for (const auto& [value, size] : {std::pair{22, 2}, {bits, 2}, {channels == 2 ? 3 : 4, 4}, {tag, 2}}) {
            PutLe(fmt, static_cast<std::uint64_t>(value), size);
        }
        fmt += guidTail;
    }
    return fmt;
}

inline std::string Riff(const std::string& chunks)
{
    std::string out = "RIFF";
    PutLe(out, chunks.size() + 4, 4);
    return out + "WAVE" + chunks;
}

inline std::string MakeWav(int tag, int channels, int rate, int bits, std::string_view data, bool extensible = false)
{
    return Riff(Chunk("fmt ", FormatBody(tag, channels, rate, bits, extensible)) + Chunk("data", data));
}

inline std::string Samples16(std::initializer_list<int> samples)
{
    std::string out;
    for (const int s : samples) {
        PutLe(out, static_cast<std::uint16_t>(s), 2);
    }
    return out;
}

} // namespace plumix::testing
