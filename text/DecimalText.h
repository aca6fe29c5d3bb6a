#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace visemer {

// How every cell, field and file value of the program becomes a number and
// back. Reading skips leading blanks, takes one optional sign and then the
// digits up to the first non-digit; text without digits reads as 0. A number
// beyond the 32-bit range reads as the nearest limit instead of wrapping.
std::int32_t readDecimal(std::string_view text);
// True when the digits stand for a number past the 32-bit range, which the
// reading holds at the limit.
bool beyondDecimalRange(std::string_view text);

// Plain signed decimal: "-" for negatives, no "+", no leading zeros.
std::string writeDecimal(std::int64_t value);

// value + step, held at the 32-bit limits.
std::int32_t addSaturated(std::int32_t value, std::int32_t step);

} // namespace visemer
