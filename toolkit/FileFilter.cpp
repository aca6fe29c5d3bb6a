#include "toolkit/FileFilter.h"

namespace visemer {
namespace {

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> pieces;
    std::string::size_type start = 0;
    for (;;) {
        const auto end = text.find(separator, start);
        pieces.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos)
            return pieces;
        start = end + 1;
    }
}

} // namespace

std::vector<FileFilterEntry> parseFileFilter(const std::string& filter) {
    std::vector<FileFilterEntry> entries;
    if (filter.empty())
        return entries;
    const auto pieces = split(filter, '|');
    for (std::size_t i = 0; i < pieces.size(); i += 2) {
        FileFilterEntry entry{pieces[i], {}};
        if (i + 1 < pieces.size()) {
            for (auto& pattern : split(pieces[i + 1], ';'))
                if (!pattern.empty())
                    entry.patterns.push_back(std::move(pattern));
        }
        if (entry.label.empty() && entry.patterns.empty())
            continue;
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string listingPattern(const std::string& pattern) {
    return pattern == "*.*" ? "*" : pattern;
}

} // namespace visemer
