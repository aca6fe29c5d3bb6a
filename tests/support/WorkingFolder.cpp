#include "tests/support/WorkingFolder.h"

#include "shapes/ShapeSet.h"
#include "tests/support/ImageFiles.h"

#include <filesystem>

namespace visemer::testing {

WorkingFolder::WorkingFolder() : previous_(std::filesystem::current_path().string()) {
    std::filesystem::current_path(dir_.path());
}

WorkingFolder::~WorkingFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
}

void writeDefaultImages(const std::string& folder) {
    std::filesystem::create_directories(folder + "/images");
    for (int slot = 0; slot < ShapeSet::kSlotCount; ++slot) {
        const std::string path = folder + "/" + ShapeSet::defaultFile(slot);
        if (slot < ShapeSet::kFirstIconSlot)
            writeBitmap(path, testBitmapWidth(slot), kTestBitmapHeight);
        else if (slot < ShapeSet::kAboutSlot)
            writeIcon(path, {16, 32});
        else
            writeBitmap(path, 80, 80);
    }
}

} // namespace visemer::testing
