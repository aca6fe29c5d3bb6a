#pragma once

#include "tool/Canvas.h"

#include <map>
#include <optional>
#include <string>

namespace visemer::tool {

// The ten mouth drawings, by their letters (A B C E F L O Q R S), as the
// editor shows them: its own art, built into the program, or the bitmaps
// of a folder (A.bmp to S.bmp) as Load Images reads them. A drawing that
// is missing or cannot be read is left out.
class MouthDrawings {
public:
    static MouthDrawings builtIn();
    static MouthDrawings fromFolder(const std::string& folder);

    const Canvas* of(char letter) const;
    std::size_t count() const { return drawings_.size(); }

private:
    std::map<char, Canvas> drawings_;
};

// The Windows bitmap's picture (1, 4, 8, 24 or 32 bits a pixel,
// uncompressed); nothing for anything else.
std::optional<Canvas> readBitmap(const std::string& bytes);

} // namespace visemer::tool
