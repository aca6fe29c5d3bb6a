#pragma once

#include <string>

namespace visemer {

// Image files are told apart by their first two bytes alone: "BM" is a
// bitmap, anything else is tried as an icon. The name's extension plays no part.
enum class ImageFileKind { Unreadable, Bitmap, Icon };

ImageFileKind sniffImageFile(const std::string& path);

} // namespace visemer
