// The list-input rule by which every file of the game gives its numbers:
// leading blanks are skipped, the number ends at a blank, a comma or the line
// end, and the rest of the line is passed over. Callers decide the range.
#pragma once

#include "base/text_codec.h"

#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace plumix {

// The number at the start of `line`, or nullopt when the field is empty, is not
// a whole number ("12abc", "1.5") or does not fit in 64 bits.
std::optional<std::int64_t> ParseListNumber(std::string_view line);

// The same, and nullopt when the number does not fit in T.
template <std::integral T>
std::optional<T> ParseListNumberAs(std::string_view line)
{
    const auto value = ParseListNumber(line);
    if (!value || !std::in_range<T>(*value)) {
        return std::nullopt;
    }
    return static_cast<T>(*value);
}

// A number the way the game writes it: a blank, or a minus sign for a negative
// value, then the digits and one blank (" 2 ", "-5 ").
std::string FormatListNumber(std::int64_t value);

// Reads a text the way a program's list input does: numbers and whole lines in
// turn. A number followed (after blanks) by a comma leaves the reader on its
// line, so the next number or line starts after the comma: "255, 0, 128" gives
// three numbers, and "501,Load skin" a number and then its text.
class ListReader {
public:
    explicit ListReader(std::string_view text) : lines_(text) {}

    // True when no number and no line is left.
    bool AtEnd() const { return !midLine_ && lines_.AtEnd(); }

    // The next number; nullopt at the end or for a field that is not a whole
    // number, whose line is then passed over.
    std::optional<std::int64_t> ReadNumber();

    // The rest of the line a comma left open, or else the next whole line.
    std::optional<std::string_view> ReadLine();

private:
    std::optional<std::string_view> CurrentField();

    LineReader lines_;
    std::string_view current_;
    bool midLine_ = false;
};

} // namespace plumix
