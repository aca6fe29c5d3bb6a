#include "text/DecimalText.h"

#include <limits>

namespace visemer {
namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::int32_t clamp32(std::int64_t value) {
    if (value > kMax)
        return static_cast<std::int32_t>(kMax);
    if (value < kMin)
        return static_cast<std::int32_t>(kMin);
    return static_cast<std::int32_t>(value);
}

// The reading before it is held to 32 bits: past the limit by at most a
// little, never wrapped.
std::int64_t readWide(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && isBlank(text[at]))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    std::int64_t magnitude = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        // Past the limit the digits can only push further out, so the
        // value stays pinned there however many follow.
        if (magnitude <= kMax + 1)
            magnitude = magnitude * 10 + (text[at] - '0');
    }
    return negative ? -magnitude : magnitude;
}

} // namespace

std::int32_t readDecimal(std::string_view text) {
    return clamp32(readWide(text));
}

bool beyondDecimalRange(std::string_view text) {
    const std::int64_t wide = readWide(text);
    return wide > kMax || wide < kMin;
}

std::string writeDecimal(std::int64_t value) {
    return std::to_string(value);
}

std::int32_t addSaturated(std::int32_t value, std::int32_t step) {
    return clamp32(static_cast<std::int64_t>(value) + step);
}

} // namespace visemer
