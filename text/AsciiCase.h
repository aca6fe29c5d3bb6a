#pragma once

#include <string>
#include <string_view>

namespace visemer {

// Letters A to Z and a to z compare equal; every other byte only to itself.
inline char foldAsciiCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

// The text with A to Z made a to z; bytes outside ASCII stay as they are,
// so UTF-8 letters pass through whole.
inline std::string foldedAsciiCase(std::string_view text) {
    std::string folded(text);
    for (char& c : folded)
        c = foldAsciiCase(c);
    return folded;
}

inline bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldAsciiCase(a[i]) != foldAsciiCase(b[i]))
            return false;
    return true;
}

} // namespace visemer
