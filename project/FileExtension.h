#pragma once

#include <string_view>

namespace visemer {

// The text after the last '.' that follows the last '/', cut at the first
// double quote; empty when no '.' follows the last '/'. Save, Save As and
// the export add their extension to a name that has none.
std::string_view extensionPart(std::string_view path);

} // namespace visemer
