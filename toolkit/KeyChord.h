#pragma once

#include "toolkit/ToolkitTypes.h"

namespace visemer {

// A shortcut key: the key code with exactly the modifiers that must be held.
struct KeyChord {
    int code = 0;
    int modifiers = 0;

    static constexpr KeyChord fromShortcut(int key) {
        return {key & ~Key::ModifierMask, key & Key::ModifierMask};
    }
    constexpr int shortcut() const { return code | modifiers; }
    friend constexpr bool operator==(KeyChord, KeyChord) = default;
};

} // namespace visemer
