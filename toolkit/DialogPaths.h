#pragma once

#include <string>

namespace visemer {

// The folder a file requester starts in and the name it proposes, taken from
// its default file: split at the last '/'. A name that a file name cannot
// hold is not proposed.
struct RequesterStart {
    std::string folder;
    std::string name;
};

RequesterStart splitDefaultFile(const std::string& defaultFile);
bool isProposableFileName(const std::string& name);

// The folder requester is handed its start folder without a trailing '/',
// except for the root itself, and answers with one always present.
std::string folderRequesterStart(const std::string& initialFolder);
std::string withTrailingSeparator(const std::string& folder);

} // namespace visemer
