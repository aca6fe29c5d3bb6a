#include "files/ProjectFile.h"

#include "toolkit/AsciiCase.h"

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

void ProjectFile::writeKey(std::string_view key, std::string_view value) {
    if (mode_ != Mode::Writing || key.empty())
        return;
    std::string line;
    line.reserve(key.size() + value.size() + 5);
    line.append(key).append(" = ").append(value).append("\r\n");
    out_.write(line);
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
    openText(std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()));
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
        out_.write(line);
        return 1;
    }
    if (mode_ != Mode::Reading)
        return 0;
    keys_.clear();
    indexed_ = false;
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

void ProjectFile::indexCurrentGroup() {
    indexed_ = true;
    if (group_ == kNoGroup)
        return;
    const std::string_view text(text_);
    std::size_t end = group_;
    while (end < text.size() && text[end] != '[')
        end = nextLine(end);
    fold(text.substr(group_, end - group_), foldedGroup_);
    const std::string_view keysText(foldedGroup_);

    for (std::size_t line = group_; line < end; line = nextLine(line)) {
        std::size_t at = line;
        while (at < text.size() && text[at] == ' ')
            ++at;
        if (at < text.size() && text[at] == ';')
            continue;
        const std::size_t keyStart = at;
        while (at < text.size() && text[at] != '=' && text[at] != '\n')
            ++at;
        if (at >= text.size() || text[at] != '=')
            continue;
        std::size_t keyEnd = at;
        while (keyEnd > keyStart && text[keyEnd - 1] == ' ')
            --keyEnd;
        std::size_t valueStart = at + 1;
        while (valueStart < text.size() && text[valueStart] == ' ')
            ++valueStart;
        std::size_t valueEnd = valueStart;
        while (valueEnd < text.size() && text[valueEnd] != '\r' && text[valueEnd] != '\n')
            ++valueEnd;
        // The first line of a key wins.
        keys_.try_emplace(keysText.substr(keyStart - group_, keyEnd - keyStart),
                          text.substr(valueStart, valueEnd - valueStart));
    }
}

std::string ProjectFile::readKey(std::string_view key, std::string_view fallback) {
    if (mode_ != Mode::Reading || key.empty() || group_ == kNoGroup)
        return std::string(fallback);
    if (!indexed_)
        indexCurrentGroup();
    fold(key, soughtKey_);
    const auto found = keys_.find(std::string_view(soughtKey_));
    return std::string(found == keys_.end() ? fallback : found->second);
}

bool ProjectFile::closeProject() {
    const bool written = mode_ != Mode::Writing || out_.commit();
    out_.discard();
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
