#pragma once

class QKeyEvent;

namespace visemer {

// The key code and modifier bits of a key press, in the numbering the
// shortcut tables use; 0 for a key that has no code there.
int shortcutKeyOf(const QKeyEvent& event);

} // namespace visemer
