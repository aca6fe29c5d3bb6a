#pragma once

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace visemer {

// A file that is not in the format it claims to be; says where.
class FormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Just enough JSON for the timing files: read into a tree, written by hand
// with jsonQuoted. Numbers are doubles.
struct JsonValue {
    enum class Kind { Null, Boolean, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string string;
    std::vector<JsonValue> array;
    std::map<std::string, JsonValue, std::less<>> object;
    int line = 1; // where the value starts, for messages

    const JsonValue* find(std::string_view key) const;
};

// Throws FormatError naming the line of the first fault.
JsonValue parseJson(std::string_view text);

// A JSON string literal, quotes included; bytes above 0x7F pass as they are.
std::string jsonQuoted(std::string_view text);
// A number with at most three decimals and no trailing zeros.
std::string jsonNumber(double value);

} // namespace visemer
