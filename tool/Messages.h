#pragma once

#include <cstddef>
#include <string>

namespace visemer::tool {

// "1 row", "3 rows": a count with its noun, plural when it is not one.
std::string counted(std::size_t count, const std::string& noun, const std::string& plural = {});

// One line on stderr: "visemer-tool: note: ..." for what a command changed
// on the way, "visemer-tool: warning: ..." for what the user should look at.
void note(const std::string& text);
void warn(const std::string& text);

// The system's reason for the last failed call, read at once.
std::string systemReason();

} // namespace visemer::tool
