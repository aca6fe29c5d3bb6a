#include "tool/Messages.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace visemer::tool {

std::string counted(std::size_t count, const std::string& noun, const std::string& plural) {
    return std::to_string(count) + " " +
           (count == 1 ? noun : (plural.empty() ? noun + "s" : plural));
}

void note(const std::string& text) {
    std::fprintf(stderr, "visemer-tool: note: %s\n", text.c_str());
}

void warn(const std::string& text) {
    std::fprintf(stderr, "visemer-tool: warning: %s\n", text.c_str());
}

std::string systemReason() {
    const int error = errno;
    return error == 0 ? "unknown error" : std::strerror(error);
}

} // namespace visemer::tool
