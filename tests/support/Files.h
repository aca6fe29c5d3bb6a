#pragma once

#include <csignal>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <sys/resource.h>

namespace visemer::testing {

inline std::string readWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Runs the work with files held to `bytes`, as on a disk that is full, the
// limit's signal ignored so that writes fail instead; false, with nothing
// run, when the limit cannot be set.
inline bool withFileSizeLimit(rlim_t bytes, const std::function<void()>& work) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limited = saved;
    limited.rlim_cur = bytes;
    const bool set = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    if (set)
        work();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, SIG_DFL);
    return set;
}

inline std::string goldenFile(const std::string& name) {
    return readWholeFile(std::string(VISEMER_GOLDEN_DIR) + "/" + name);
}

} // namespace visemer::testing
