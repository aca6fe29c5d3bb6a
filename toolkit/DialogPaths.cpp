#include "toolkit/DialogPaths.h"

namespace visemer {

bool isProposableFileName(const std::string& name) {
    for (const unsigned char c : name) {
        if (c < 0x20 || c == 0x7F)
            return false;
        switch (c) {
        case '\\':
        case '/':
        case ':':
        case '*':
        case '?':
        case '"':
        case '<':
        case '>':
        case '|':
            return false;
        default:
            break;
        }
    }
    return true;
}

RequesterStart splitDefaultFile(const std::string& defaultFile) {
    RequesterStart start;
    const auto slash = defaultFile.rfind('/');
    if (slash == std::string::npos) {
        start.name = defaultFile;
    } else {
        start.folder = defaultFile.substr(0, slash == 0 ? 1 : slash);
        start.name = defaultFile.substr(slash + 1);
    }
    if (!isProposableFileName(start.name))
        start.name.clear();
    return start;
}

std::string folderRequesterStart(const std::string& initialFolder) {
    if (initialFolder.size() > 1 && initialFolder.back() == '/')
        return initialFolder.substr(0, initialFolder.size() - 1);
    return initialFolder;
}

std::string withTrailingSeparator(const std::string& folder) {
    if (folder.empty() || folder.back() == '/')
        return folder;
    return folder + '/';
}

} // namespace visemer
