#include "toolkit/ImageSignature.h"

#include <filesystem>
#include <fstream>

namespace visemer {

ImageFileKind sniffImageFile(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return ImageFileKind::Unreadable;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return ImageFileKind::Unreadable;
    char head[2] = {0, 0};
    file.read(head, 2);
    if (file.gcount() == 2 && head[0] == 'B' && head[1] == 'M')
        return ImageFileKind::Bitmap;
    return ImageFileKind::Icon;
}

} // namespace visemer
