#pragma once

namespace visemer {

class UiToolkit;

// Opens the main window with its menu bar, its 29 controls, the fresh
// 25-row timeline, the phoneme list and the keyboard shortcuts. False when
// the window cannot be created; nothing else is built then.
bool buildMainWindow(UiToolkit& ui);

} // namespace visemer
