#pragma once

#include <array>
#include <string>
#include <string_view>

namespace visemer {

class UiToolkit;

// The pictures the editor shows, each in a numbered image slot: the ten
// mouth bitmaps (slots 0 to 9, in the letter order A B C E F L O Q R S),
// their icons (slot + 10) and the About picture (slot 20).
namespace ShapeSet {

inline constexpr int kFirstIconSlot = 10;
inline constexpr int kAboutSlot = 20;
inline constexpr int kSlotCount = 21;
inline constexpr std::string_view kDefaultFolder = "images/";

// The default file of a slot, 0 to 20, relative to the working folder.
std::string defaultFile(int slot);

// Fills all 21 slots from the default files; a file that does not load
// leaves its slot empty.
void loadDefaults(UiToolkit& ui);
// Frees the ten mouth bitmaps and loads them from a folder whose text ends
// in a separator; icons and the About picture stay.
void loadBitmapsFrom(UiToolkit& ui, const std::string& folder);

} // namespace ShapeSet
} // namespace visemer
