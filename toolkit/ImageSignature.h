#pragma once

#include "toolkit/ToolkitTypes.h"

#include <optional>
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

// The size of a bitmap whose headers are sound and whose pixels are all in
// the file, rows stored top-down (a negative height) or bottom-up alike;
// nothing for a bitmap cut short or damaged. A decoder given a cut file
// fills the missing rows with whatever memory held, so it is never asked.
std::optional<Size> wholeBitmapSize(const std::string& bytes);

} // namespace visemer
