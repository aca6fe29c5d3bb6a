#include "shapes/ShapeSet.h"

#include "toolkit/UiToolkit.h"

namespace visemer::ShapeSet {
namespace {

// The letters of the ten mouth shapes, in slot order; each names its
// bitmap, LETTER.bmp, and its icon, LETTER.ico.
constexpr std::array<std::string_view, 10> kLetters{"A", "B", "C", "E", "F",
                                                    "L", "O", "Q", "R", "S"};

std::string bitmapName(int slot) {
    return std::string(kLetters[static_cast<std::size_t>(slot)]) + ".bmp";
}

} // namespace

std::string_view letterOf(int slot) {
    if (slot < 0 || slot >= static_cast<int>(kLetters.size()))
        return {};
    return kLetters[static_cast<std::size_t>(slot)];
}

std::string defaultFile(int slot) {
    std::string file(kDefaultFolder);
    if (slot >= 0 && slot < kFirstIconSlot)
        return file + bitmapName(slot);
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
        ui.loadImage(slot, folder + bitmapName(slot));
}

} // namespace visemer::ShapeSet
