#include "shapes/ShapeSet.h"

#include "timeline/PhonemeTable.h"
#include "toolkit/UiToolkit.h"

namespace visemer::ShapeSet {
namespace {

// Each mouth shape's drawing letter names its bitmap, LETTER.bmp, and its
// icon, LETTER.ico.
std::string bitmapName(int slot) {
    return std::string(PhonemeTable::drawingLetterOf(slot)) + ".bmp";
}

} // namespace

std::string defaultFile(int slot) {
    std::string file(kDefaultFolder);
    if (slot >= 0 && slot < kFirstIconSlot)
        return file + bitmapName(slot);
    if (slot >= kFirstIconSlot && slot < kAboutSlot)
        return file + std::string(PhonemeTable::drawingLetterOf(slot - kFirstIconSlot)) + ".ico";
    if (slot == kAboutSlot)
        return file + "about.bmp";
    return {};
}

void loadDefaults(UiToolkit& ui) {
    for (int slot = 0; slot < kSlotCount; ++slot)
        ui.loadImage(slot, defaultFile(slot));
}

void loadBitmapsFrom(UiToolkit& ui, const std::string& folder) {
    for (int slot = 0; slot < kFirstIconSlot; ++slot)
        ui.freeImage(slot);
    for (int slot = 0; slot < kFirstIconSlot; ++slot)
        ui.loadImage(slot, folder + bitmapName(slot));
}

} // namespace visemer::ShapeSet
