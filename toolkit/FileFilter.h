#pragma once

#include <string>
#include <vector>

namespace visemer {

// One entry of a requester's file-type list.
struct FileFilterEntry {
    std::string label;
    std::vector<std::string> patterns;
};

// Splits "label|pattern;pattern|label|pattern" into its entries. A label
// without a pattern after it still makes an entry, with no patterns.
std::vector<FileFilterEntry> parseFileFilter(const std::string& filter);

// The pattern a requester lists files with: "*.*" means every file, dot or
// no dot in its name.
std::string listingPattern(const std::string& pattern);

} // namespace visemer
