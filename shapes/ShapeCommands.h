#pragma once

namespace visemer {

class UiToolkit;

// The "Shapes" menu: replace the ten mouth bitmaps from a folder the user
// picks, or put the default ones back. Icons and the About picture stay.
void LoadImages(UiToolkit& ui);
void DefaultImages(UiToolkit& ui);

} // namespace visemer
