#include "shapes/ShapeSet.h"

#include "toolkit/UiToolkit.h"

namespace visemer::ShapeSet {
namespace {

constexpr std::array<std::string_view, 10> kLetters{"A", "B", "C", "E", "F",
                                                    "L", "O", "Q", "R", "S"};
constexpr std::array<std::string_view, 10> kBitmapNames{
    "A.bmp", "B.bmp", "C.bmp", "E.bmp", "F.bmp", "L.bmp", "O.bmp", "Q.bmp", "R.bmp", "S.bmp"};

} // namespace

const std::array<std::string_view, 10>& bitmapNames() {
    return kBitmapNames;
}

std::string defaultFile(int slot) {
    std::string file(kDefaultFolder);
    if (slot >= 0 && slot < kFirstIconSlot)
        return file + std::string(kBitmapNames[static_cast<std::size_t>(slot)]);
    if (slot >= kFirstIconSlot && slot < kAboutSlot)
        return file + std::string(kLetters[static_cast<std::size_t>(slot - kFirstIconSlot)]) +
               ".ico";
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
        ui.loadImage(slot, folder + std::string(kBitmapNames[static_cast<std::size_t>(slot)]));
}

} // namespace visemer::ShapeSet
