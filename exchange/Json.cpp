#include "exchange/Json.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace visemer {
namespace {

constexpr int kDeepestNesting = 64;

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    JsonValue document() {
        JsonValue value = parseValue(0);
        skipSpace();
        if (at_ != text_.size())
            fail("unexpected text after the end");
        return value;
    }

private:
    [[noreturn]] void fail(const std::string& what) const {
        throw FormatError("line " + std::to_string(line_) + ": " + what);
    }

    void skipSpace() {
        while (at_ < text_.size()) {
            const char c = text_[at_];
            if (c == '\n')
                ++line_;
            else if (c != ' ' && c != '\t' && c != '\r')
                break;
            ++at_;
        }
    }

    bool take(char expected) {
        skipSpace();
        if (at_ < text_.size() && text_[at_] == expected) {
            ++at_;
            return true;
        }
        return false;
    }

    void expect(char expected) {
        if (!take(expected))
            fail(std::string("expected '") + expected + "'");
    }

    bool word(std::string_view literal) {
        if (text_.substr(at_, literal.size()) != literal)
            return false;
        at_ += literal.size();
        return true;
    }

    JsonValue parseValue(int depth) {
        if (depth > kDeepestNesting)
            fail("nested too deeply");
        skipSpace();
        JsonValue value;
        value.line = line_;
        if (at_ >= text_.size())
            fail("unexpected end of the file");
        const char c = text_[at_];
        if (c == '{') {
            ++at_;
            value.kind = JsonValue::Kind::Object;
            if (take('}'))
                return value;
            do {
                skipSpace();
                if (at_ >= text_.size() || text_[at_] != '"')
                    fail("expected a key in quotes");
                std::string key = parseString();
                expect(':');
                value.object.insert_or_assign(std::move(key), parseValue(depth + 1));
            } while (take(','));
            expect('}');
        } else if (c == '[') {
            ++at_;
            value.kind = JsonValue::Kind::Array;
            if (take(']'))
                return value;
            do
                value.array.push_back(parseValue(depth + 1));
            while (take(','));
            expect(']');
        } else if (c == '"') {
            value.kind = JsonValue::Kind::String;
            value.string = parseString();
        } else if (word("true") || word("false")) {
            value.kind = JsonValue::Kind::Boolean;
            value.boolean = c == 't';
        } else if (word("null")) {
            value.kind = JsonValue::Kind::Null;
        } else {
            value.kind = JsonValue::Kind::Number;
            value.number = parseNumber();
        }
        return value;
    }

    double parseNumber() {
        const std::size_t start = at_;
        while (at_ < text_.size() &&
               std::string_view("+-0123456789.eE").find(text_[at_]) != std::string_view::npos)
            ++at_;
        const std::string digits(text_.substr(start, at_ - start));
        char* end = nullptr;
        const double number = std::strtod(digits.c_str(), &end);
        if (digits.empty() || end != digits.c_str() + digits.size() || !std::isfinite(number))
            fail("expected a value");
        return number;
    }

    unsigned hexDigits() {
        if (at_ + 4 > text_.size())
            fail("a short \\u escape");
        unsigned code = 0;
        for (int i = 0; i < 4; ++i) {
            const char h = text_[at_++];
            code <<= 4;
            if (h >= '0' && h <= '9')
                code |= static_cast<unsigned>(h - '0');
            else if (h >= 'a' && h <= 'f')
                code |= static_cast<unsigned>(h - 'a' + 10);
            else if (h >= 'A' && h <= 'F')
                code |= static_cast<unsigned>(h - 'A' + 10);
            else
                fail("a bad \\u escape");
        }
        return code;
    }

    static void appendUtf8(std::string& out, unsigned code) {
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

    std::string parseString() {
        ++at_; // the opening quote
        std::string out;
        for (;;) {
            if (at_ >= text_.size())
                fail("a string without its closing quote");
            const char c = text_[at_++];
            if (c == '"')
                return out;
            if (c == '\n')
                fail("a line end inside a string");
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at_ >= text_.size())
                fail("a string without its closing quote");
            const char escaped = text_[at_++];
            switch (escaped) {
            case '"':
                out += '"';
                break;
            case '\\':
                out += '\\';
                break;
            case '/':
                out += '/';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                unsigned code = hexDigits();
                if (code >= 0xD800 && code < 0xDC00 && word("\\u")) {
                    const unsigned low = hexDigits();
                    if (low >= 0xDC00 && low < 0xE000)
                        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                }
                appendUtf8(out, code);
                break;
            }
            default:
                fail("a bad escape in a string");
            }
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
    int line_ = 1;
};

} // namespace

const JsonValue* JsonValue::find(std::string_view key) const {
    const auto found = object.find(key);
    return found == object.end() ? nullptr : &found->second;
}

JsonValue parseJson(std::string_view text) {
    return Parser(text).document();
}

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
