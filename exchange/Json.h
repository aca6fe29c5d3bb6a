#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace visemer {

// A file that is not in the format it claims to be; says where.
class FormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The timing files' JSON is read with nlohmann::json and written by hand,
// so that its layout stays the same byte for byte.

// A JSON string literal, quotes included; bytes above 0x7F pass as they are.
std::string jsonQuoted(std::string_view text);
// A number with at most three decimals and no trailing zeros.
std::string jsonNumber(double value);

} // namespace visemer
