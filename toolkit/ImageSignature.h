#pragma once

#include <string>

namespace visemer {

// Image files are told apart by their first two bytes alone: "BM" is a
// bitmap, anything else is tried as an icon. The name's extension plays no part.
enum class ImageFileKind { Unreadable, Bitmap, Icon };

ImageFileKind sniffImageFile(const std::string& path);

// The drawings are 160 pixels square; a picture wider or taller than this
// is no drawing of the program's and is refused before it is decoded.
inline constexpr int kLargestImageSide = 4096;
constexpr bool fitsInAnImageSlot(int width, int height) {
    return width > 0 && height > 0 && width <= kLargestImageSide && height <= kLargestImageSide;
}

} // namespace visemer
