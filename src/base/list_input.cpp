#include "base/list_input.h"

#include <limits>

namespace plumix {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

struct Scanned {
    std::optional<std::int64_t> value;
    std::size_t next = 0;  // where the text after the number and its blanks starts
};

Scanned ScanNumber(std::string_view field)
{
    std::size_t i = 0;
    while (i < field.size() && IsBlank(field[i])) {
        ++i;
    }
    bool negative = false;
    if (i < field.size() && (field[i] == '-' || field[i] == '+')) {
        negative = field[i] == '-';
        ++i;
    }
    const std::size_t firstDigit = i;
    // Accumulate the magnitude as unsigned so that -9223372036854775808 fits
    // and an overflow is seen before it happens.
    constexpr std::uint64_t limitPositive = std::numeric_limits<std::int64_t>::max();
    const std::uint64_t limit = negative ? limitPositive + 1 : limitPositive;
    std::uint64_t magnitude = 0;
    bool overflow = false;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
        const auto digit = static_cast<std::uint64_t>(field[i] - '0');
        if (magnitude > (limit - digit) / 10) {
            overflow = true;
        } else {
            magnitude = magnitude * 10 + digit;
        }
    }
    Scanned result;
    const bool delimited = i == field.size() || IsBlank(field[i]) || field[i] == ',' || field[i] == '\r';
    if (i > firstDigit && delimited && !overflow) {
        result.value = negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
    }
    while (i < field.size() && IsBlank(field[i])) {
        ++i;
    }
    result.next = i;
    return result;
}

} // namespace

std::optional<std::int64_t> ParseListNumber(std::string_view line)
{
    return ScanNumber(line).value;
}

std::string FormatListNumber(std::int64_t value)
{
    std::string digits = std::to_string(value);
    return (value < 0 ? "" : " ") + digits + ' ';
}

std::optional<std::string_view> ListReader::CurrentField()
{
    if (midLine_) {
        midLine_ = false;
        return current_;
    }
    return lines_.Next();
}

std::optional<std::int64_t> ListReader::ReadNumber()
{
    const auto field = CurrentField();
    if (!field) {
        return std::nullopt;
    }
    const Scanned scanned = ScanNumber(*field);
    if (scanned.value && scanned.next < field->size() && (*field)[scanned.next] == ',') {
        current_ = field->substr(scanned.next + 1);
        midLine_ = true;
    }
    return scanned.value;
}

std::optional<std::string_view> ListReader::ReadLine()
{
    return CurrentField();
}

} // namespace plumix
