#pragma once

#include <string_view>

namespace visemer::tool {

// The editor's own mouth drawing of the letter, as the bytes of its
// bitmap file, built into the program; empty for another letter.
std::string_view defaultDrawing(char letter);

} // namespace visemer::tool
