#pragma once

#include <fstream>
#include <iterator>
#include <string>

namespace visemer::testing {

inline std::string readWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline std::string goldenFile(const std::string& name) {
    return readWholeFile(std::string(VISEMER_GOLDEN_DIR) + "/" + name);
}

} // namespace visemer::testing
