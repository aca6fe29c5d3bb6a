#include "shapes/ShapeSet.h"
#include "toolkit/qt/QtToolkit.h"

#include <gtest/gtest.h>

namespace visemer {
namespace {

TEST(DefaultArt, EveryPictureLoadsAtItsSize) {
    QtToolkit ui;
    const std::string top = VISEMER_SOURCE_DIR "/";
    for (int slot = 0; slot < ShapeSet::kSlotCount; ++slot) {
        const Image image = ui.loadImage(slot, top + ShapeSet::defaultFile(slot));
        ASSERT_FALSE(image.isNull()) << ShapeSet::defaultFile(slot);
        const Size size = ui.imageSize(image);
        if (slot < ShapeSet::kFirstIconSlot)
            EXPECT_EQ(size, (Size{160, 160})) << "mouth bitmaps share one size";
        else if (slot < ShapeSet::kAboutSlot)
            EXPECT_EQ(size, (Size{32, 32})) << "icons hold 16 and 32 pixels";
        else
            EXPECT_LE(size.width, 100);
    }
}

} // namespace
} // namespace visemer
