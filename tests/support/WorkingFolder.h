#pragma once

#include "tests/support/TempDir.h"

#include <string>

namespace visemer::testing {

// Runs a test in a fresh folder of its own as the process's working folder,
// the way the editor runs in the folder that holds images/ and its relay
// files; the old working folder comes back afterwards.
class WorkingFolder {
public:
    WorkingFolder();
    ~WorkingFolder();
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

    const std::string& path() const { return dir_.path(); }
    std::string file(const std::string& name) const { return dir_.file(name); }

private:
    TempDir dir_;
    std::string previous_;
};

// Writes images/ with all 21 pictures. Mouth bitmap s is 100 + s pixels
// wide, so a test can tell which one the preview shows by its size.
void writeDefaultImages(const std::string& folder);
inline constexpr int kTestBitmapHeight = 90;
inline int testBitmapWidth(int slot) {
    return 100 + slot;
}

} // namespace visemer::testing
