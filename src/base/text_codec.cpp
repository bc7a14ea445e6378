#include "base/text_codec.h"

#include <array>
#include <cstdint>

namespace plumix {

namespace {

// Characters of bytes 0x80..0xBF; 0xC0..0xFF are А..я in alphabetical order.
constexpr std::array<char16_t, 64> UpperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};
constexpr char32_t CyrillicA = 0x0410;
constexpr char32_t Replacement = 0xFFFD;

char32_t CharOfByte(unsigned char byte)
{
    if (byte < 0x80) {
        return byte;
    }
    if (byte < 0xC0) {
        return UpperHalf[byte - 0x80];
    }
    return CyrillicA + (byte - 0xC0);
}

std::optional<unsigned char> ByteOfChar(char32_t c)
{
    if (c < 0x80) {
        return static_cast<unsigned char>(c);
    }
    if (c >= CyrillicA && c < CyrillicA + 64) {
        return static_cast<unsigned char>(0xC0 + (c - CyrillicA));
    }
    for (std::size_t i = 0; i < UpperHalf.size(); ++i) {
        if (UpperHalf[i] == c) {
            return static_cast<unsigned char>(0x80 + i);
        }
    }
    return std::nullopt;
}

// The plain letters of the accented Latin ones, U+00C0..U+017F, one each;
// '*' marks a letter of two plain ones, '?' a character that is no letter.
constexpr std::string_view LatinPlain =
    "AAAAAA*CEEEEIIIIDNOOOOO?OUUUUY**aaaaaa*ceeeeiiiidnooooo?ouuuuy*y"
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIi**JjKkkLlLlLlL"
    "lLlNnNnNnnNnOoOoOo**RrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";
constexpr char32_t LatinPlainFirst = 0x00C0;
static_assert(LatinPlain.size() == 0x0180 - LatinPlainFirst);

// Letters some Latin alphabets use that Windows-1251 lacks, as the plain
// letters a reader of the table would take them for. Sharp s becomes "ss",
// as German writes it where the letter is missing.
std::string_view PlainLetters(char32_t c)
{
    switch (c) {
    case 0x00C6: return "AE";
    case 0x00E6: return "ae";
    case 0x00DE: return "Th";
    case 0x00FE: return "th";
    case 0x00DF: return "ss";
    case 0x1E9E: return "SS";
    case 0x0132: return "IJ";
    case 0x0133: return "ij";
    case 0x0152: return "OE";
    case 0x0153: return "oe";
    case 0x0192: return "f";
    case 0x01A0: return "O";
    case 0x01A1: return "o";
    case 0x01AF: return "U";
    case 0x01B0: return "u";
    case 0x0218: return "S";
    case 0x0219: return "s";
    case 0x021A: return "T";
    case 0x021B: return "t";
    default: break;
    }
    if (c >= LatinPlainFirst && c < LatinPlainFirst + LatinPlain.size()) {
        const std::string_view plain = LatinPlain.substr(c - LatinPlainFirst, 1);
        return plain == "*" ? std::string_view{} : plain;
    }
    return {};
}

// Combining accents (a decomposed "ä" is "a" and U+0308) are dropped: the
// letter before them is already stored.
bool IsCombiningMark(char32_t c)
{
    return c >= 0x0300 && c <= 0x036F;
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

struct Decoded {
    char32_t c = 0;
    std::size_t length = 0;  // 0 = the byte at the position starts no valid sequence
};

Decoded DecodeUtf8At(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        return {lead, 1};
    }
    std::size_t length = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07, minimum = 0x10000;
    } else {
        return {};
    }
    if (text.size() - at < length) {
        return {};
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            return {};
        }
        c = (c << 6) | (byte(at + i) & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return {};
    }
    return {c, length};
}

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

} // namespace

std::string Cp1251ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char b : bytes) {
        AppendUtf8(out, CharOfByte(static_cast<unsigned char>(b)));
    }
    return out;
}

std::string Utf8ToCp1251(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const Decoded d = DecodeUtf8At(text, i);
        if (d.length == 0) {
            out += '?';
            ++i;
            continue;
        }
        i += d.length;
        if (const auto byte = ByteOfChar(d.c)) {
            out += static_cast<char>(*byte);
        } else if (const std::string_view plain = PlainLetters(d.c); !plain.empty()) {
            out += plain;
        } else if (!IsCombiningMark(d.c)) {
            out += '?';
        }
    }
    return out;
}

bool IsValidUtf8(std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size();) {
        const Decoded d = DecodeUtf8At(bytes, i);
        if (d.length == 0) {
            return false;
        }
        i += d.length;
    }
    return true;
}

std::string DecodeTextFile(std::string_view bytes)
{
    const bool marked = bytes.starts_with(ByteOrderMark);
    const std::string_view body = marked ? bytes.substr(ByteOrderMark.size()) : bytes;
    if (IsValidUtf8(body)) {
        return std::string(body);
    }
    if (!marked) {
        return Cp1251ToUtf8(bytes);
    }
    std::string out;
    out.reserve(body.size());
    for (std::size_t i = 0; i < body.size();) {
        const Decoded d = DecodeUtf8At(body, i);
        if (d.length == 0) {
            AppendUtf8(out, Replacement);
            ++i;
        } else {
            out.append(body.substr(i, d.length));
            i += d.length;
        }
    }
    return out;
}

std::optional<std::string_view> LineReader::Next()
{
    if (rest_.empty()) {
        return std::nullopt;
    }
    const std::size_t end = rest_.find('\n');
    std::string_view line = rest_.substr(0, end);
    rest_ = end == std::string_view::npos ? std::string_view{} : rest_.substr(end + 1);
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    return line;
}

} // namespace plumix
