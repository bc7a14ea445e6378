#include "scores/name_color.h"

#include "base/text_codec.h"

namespace plumix {

Rgb NameColor(std::string_view utf8Name)
{
    unsigned red = 0;
    unsigned long long green = 0;
    for (const char byte : Utf8ToCp1251(utf8Name)) {
        const auto code = static_cast<unsigned char>(byte);
        red ^= code;
        green += code;
    }
    // Repeated subtraction of 255 while above 255: a sum of 510 folds to 255,
    // not 0, so only the remainder's zero case needs care.
    if (green > 255) {
        green = (green - 1) % 255 + 1;
    }
    return {static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green), 255};
}

} // namespace plumix
