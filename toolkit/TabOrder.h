#pragma once

#include <algorithm>
#include <vector>

namespace visemer {

// The control Tab (or Shift+Tab) moves the focus to: the next (previous)
// of a window's tab stops in creation order, round and round; the first
// (last) when the focus is on none of them. -1 when there are no stops.
inline int nextTabStop(const std::vector<int>& stops, int focused, bool backwards) {
    if (stops.empty())
        return -1;
    const int count = static_cast<int>(stops.size());
    const auto at = std::find(stops.begin(), stops.end(), focused);
    if (at == stops.end())
        return stops[static_cast<std::size_t>(backwards ? count - 1 : 0)];
    const int index = (static_cast<int>(at - stops.begin()) + (backwards ? count - 1 : 1)) % count;
    return stops[static_cast<std::size_t>(index)];
}

} // namespace visemer
