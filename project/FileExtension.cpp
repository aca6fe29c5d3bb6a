#include "project/FileExtension.h"

namespace visemer {

std::string_view extensionPart(std::string_view path) {
    const auto slash = path.rfind('/');
    const auto dot = path.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return {};
    std::string_view extension = path.substr(dot + 1);
    const auto quote = extension.find('"');
    return quote == std::string_view::npos ? extension : extension.substr(0, quote);
}

} // namespace visemer
