#pragma once

#include "toolkit/ToolkitTypes.h"

#include <optional>
#include <string>
#include <vector>

namespace visemer::testing {

// Writes a 24-bit bitmap of one colour; a negative height stores its rows
// top-down.
void writeBitmap(const std::string& path, int width, int height, Colour colour = {200, 40, 40});
// Writes an icon file holding one 32-bit picture of each size given.
void writeIcon(const std::string& path, const std::vector<int>& sizes);
void writeBytes(const std::string& path, const std::string& bytes);
// Writes a run-length encoded bitmap of any size in a few bytes: a first
// row with a short run, then nothing but background.
void writeRunLengthBitmap(const std::string& path, int width, int height);

// The size of a bitmap, or of the largest picture of an icon file, read
// from the file's headers; nothing for a file that is neither.
std::optional<Size> readImageFileSize(const std::string& path);

} // namespace visemer::testing
