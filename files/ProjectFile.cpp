#include "files/ProjectFile.h"

#include "text/AsciiCase.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace visemer {
namespace {

void fold(std::string_view text, std::string& out) {
    out.assign(text);
    for (char& c : out)
        c = foldAsciiCase(c);
}

} // namespace

bool ProjectFile::createProject(const std::string& path) {
    closeProject();
    if (!out_.create(path))
        return false;
    mode_ = Mode::Writing;
    return true;
}

void ProjectFile::createText() {
    closeProject();
    mode_ = Mode::Writing;
    inMemory_ = true;
}

std::string ProjectFile::takeText() {
    std::string text = inMemory_ ? std::move(text_) : std::string();
    closeProject();
    return text;
}

void ProjectFile::emit(const std::string& line) {
    if (inMemory_)
        text_ += line;
    else
        out_.write(line);
}

void ProjectFile::writeKey(std::string_view key, std::string_view value) {
    if (mode_ != Mode::Writing || key.empty())
        return;
    std::string line;
    line.reserve(key.size() + value.size() + 5);
    line.append(key).append(" = ").append(value).append("\r\n");
    emit(line);
}

bool ProjectFile::openProject(const std::string& path) {
    closeProject();
    mode_ = Mode::Reading;
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    // Read in one go into a buffer of the file's size: a large project is
    // held once, not grown into.
    std::string text(static_cast<std::size_t>(info.st_size), '\0');
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(std::max<std::streamsize>(file.gcount(), 0)));
    openText(std::move(text));
    return true;
}

void ProjectFile::openText(std::string text) {
    closeProject();
    mode_ = Mode::Reading;
    text_ = std::move(text);
    // The text ends at its first NUL, as it always has.
    const auto nul = text_.find('\0');
    if (nul != std::string::npos)
        text_.resize(nul);
    group_ = 0;
}

std::size_t ProjectFile::nextLine(std::size_t at) const {
    const auto feed = text_.find('\n', at);
    if (feed == std::string::npos)
        return text_.size();
    std::size_t next = feed + 1;
    // A CR right after the LF belongs to the line before.
    if (next < text_.size() && text_[next] == '\r')
        ++next;
    return next;
}

int ProjectFile::selectGroup(std::string_view name) {
    if (mode_ == Mode::Writing) {
        std::string line;
        line.append("[").append(name).append("]\r\n");
        emit(line);
        return 1;
    }
    if (mode_ != Mode::Reading)
        return 0;
    keys_.clear();
    indexed_ = false;
    inOrder_ = true;
    cursor_ = kNoGroup;
    lastNumber_ = -1;
    if (name.empty()) {
        group_ = 0;
        return 0;
    }
    group_ = kNoGroup;
    for (std::size_t line = 0; line < text_.size(); line = nextLine(line)) {
        if (text_[line] != '[')
            continue;
        const std::size_t start = line + 1;
        std::size_t stop = start;
        while (stop < text_.size() && text_[stop] != ']' && text_[stop] != '\n')
            ++stop;
        if (equalIgnoringAsciiCase(std::string_view(text_).substr(start, stop - start), name)) {
            group_ = nextLine(line);
            return 1;
        }
    }
    return 0;
}

std::size_t ProjectFile::groupEnd(std::size_t from) const {
    std::size_t end = from;
    while (end < text_.size() && text_[end] != '[')
        end = nextLine(end);
    return end;
}

std::optional<ProjectFile::KeyLine> ProjectFile::keyLine(std::size_t line) const {
    const std::string_view text(text_);
    std::size_t at = line;
    while (at < text.size() && text[at] == ' ')
        ++at;
    if (at < text.size() && text[at] == ';')
        return std::nullopt;
    const std::size_t keyStart = at;
    while (at < text.size() && text[at] != '=' && text[at] != '\n')
        ++at;
    if (at >= text.size() || text[at] != '=')
        return std::nullopt;
    std::size_t keyEnd = at;
    while (keyEnd > keyStart && text[keyEnd - 1] == ' ')
        --keyEnd;
    std::size_t valueStart = at + 1;
    while (valueStart < text.size() && text[valueStart] == ' ')
        ++valueStart;
    std::size_t valueEnd = valueStart;
    while (valueEnd < text.size() && text[valueEnd] != '\r' && text[valueEnd] != '\n')
        ++valueEnd;
    return KeyLine{text.substr(keyStart, keyEnd - keyStart),
                   text.substr(valueStart, valueEnd - valueStart)};
}

void ProjectFile::indexCurrentGroup() {
    indexed_ = true;
    if (group_ == kNoGroup)
        return;
    const std::size_t end = groupEnd(group_);
    fold(std::string_view(text_).substr(group_, end - group_), foldedGroup_);
    const std::string_view keysText(foldedGroup_);
    const char* const groupStart = text_.data() + group_;
    for (std::size_t line = group_; line < end; line = nextLine(line)) {
        const auto found = keyLine(line);
        if (!found)
            continue;
        // The first line of a key wins.
        const auto keyAt = static_cast<std::size_t>(found->key.data() - groupStart);
        keys_.try_emplace(keysText.substr(keyAt, found->key.size()), found->value);
    }
}

namespace {

// The value of a key written as a plain decimal number ("0", "17"; no
// sign, no leading zero), or nothing.
std::optional<long long> plainNumber(std::string_view key) {
    if (key.empty() || key.size() > 18 || (key.size() > 1 && key[0] == '0'))
        return std::nullopt;
    long long number = 0;
    for (const char c : key) {
        if (c < '0' || c > '9')
            return std::nullopt;
        number = number * 10 + (c - '0');
    }
    return number;
}

} // namespace

ProjectFile::InOrder ProjectFile::readInOrder(std::string_view key) {
    const auto number = plainNumber(key);
    if (!number || *number <= lastNumber_)
        return {};
    if (cursor_ == kNoGroup)
        cursor_ = group_;
    // Lines that hold no key are passed over, as the index passes them.
    std::optional<KeyLine> line;
    while (cursor_ < text_.size() && text_[cursor_] != '[' && !(line = keyLine(cursor_)))
        cursor_ = nextLine(cursor_);
    if (cursor_ >= text_.size() || text_[cursor_] == '[') {
        lastNumber_ = *number; // no key is left in the group
        return {true, std::nullopt};
    }
    if (line->key != key)
        return {};
    cursor_ = nextLine(cursor_);
    lastNumber_ = *number;
    return {true, line->value};
}

std::string ProjectFile::readKey(std::string_view key, std::string_view fallback) {
    if (mode_ != Mode::Reading || key.empty() || group_ == kNoGroup)
        return std::string(fallback);
    if (!indexed_ && inOrder_) {
        const InOrder read = readInOrder(key);
        if (read.answered)
            return std::string(read.value.value_or(fallback));
        inOrder_ = false;
    }
    if (!indexed_)
        indexCurrentGroup();
    fold(key, soughtKey_);
    const auto found = keys_.find(std::string_view(soughtKey_));
    return std::string(found == keys_.end() ? fallback : found->second);
}

bool ProjectFile::closeProject() {
    const bool written = mode_ != Mode::Writing || inMemory_ || out_.commit();
    out_.discard();
    inMemory_ = false;
    text_.clear();
    text_.shrink_to_fit();
    keys_.clear();
    foldedGroup_.clear();
    foldedGroup_.shrink_to_fit();
    indexed_ = false;
    group_ = kNoGroup;
    mode_ = Mode::Closed;
    return written;
}

} // namespace visemer
