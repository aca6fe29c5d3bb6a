#include "tool/DialogueText.h"

#include "tool/Arguments.h"

#include <cstdint>

namespace visemer::tool {
namespace {

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::string fromUtf16(const std::string& bytes, bool bigEndian, const std::string& path) {
    const auto unitAt = [&](std::size_t at) {
        const auto first = static_cast<unsigned char>(bytes[at]);
        const auto second = static_cast<unsigned char>(bytes[at + 1]);
        return static_cast<std::uint32_t>(bigEndian ? (first << 8) | second
                                                    : (second << 8) | first);
    };
    if (bytes.size() % 2 != 0)
        throw InputError(path + " is not whole UTF-16 text: it has an odd number of bytes");
    std::string out;
    for (std::size_t at = 2; at < bytes.size(); at += 2) {
        std::uint32_t code = unitAt(at);
        if (code >= 0xD800 && code < 0xDC00 && at + 3 < bytes.size()) {
            const std::uint32_t low = unitAt(at + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                at += 2;
            }
        }
        if (code >= 0xD800 && code < 0xE000)
            throw InputError(path + " is not whole UTF-16 text: a lone surrogate at byte " +
                             std::to_string(at + 1));
        appendUtf8(out, code);
    }
    return out;
}

// The length of the UTF-8 sequence at `at`, 0 when it is not one.
std::size_t sequenceAt(const std::string& bytes, std::size_t at) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    std::size_t length = 0;
    std::uint32_t code = 0;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > bytes.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(bytes[at + i]);
        if ((next & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (next & 0x3F);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    if (overlong || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000))
        return 0;
    return length;
}

} // namespace

std::string dialogueAsUtf8(const std::string& bytes, const std::string& path) {
    if (bytes.compare(0, 2, "\xFF\xFE") == 0 &&
        bytes.compare(0, 4, std::string("\xFF\xFE\0\0", 4)) != 0)
        return fromUtf16(bytes, false, path);
    if (bytes.compare(0, 2, "\xFE\xFF") == 0)
        return fromUtf16(bytes, true, path);
    const std::size_t start = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    for (std::size_t at = start; at < bytes.size();) {
        const std::size_t length = sequenceAt(bytes, at);
        if (length == 0 || bytes[at] == '\0')
            throw InputError(path + " is not UTF-8 text (byte " + std::to_string(at + 1) +
                             " is not); save the dialogue as UTF-8");
        at += length;
    }
    return bytes.substr(start);
}

} // namespace visemer::tool
