#include "exchange/Json.h"

#include <cstdio>

namespace visemer {

std::string jsonQuoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string jsonNumber(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", value);
    std::string out(text);
    while (out.back() == '0')
        out.pop_back();
    if (out.back() == '.')
        out.pop_back();
    if (out == "-0")
        out = "0";
    return out;
}

} // namespace visemer
