#pragma once

#include <string_view>

namespace visemer {

// Letters A to Z and a to z compare equal; every other byte only to itself.
inline char foldAsciiCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
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
