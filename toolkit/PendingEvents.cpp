#include "toolkit/PendingEvents.h"

#include <utility>

namespace visemer {

void PendingEvents::raise(const ToolkitEvent& event) {
    if (!std::exchange(separate_, false) && !events_.empty()) {
        ToolkitEvent& last = events_.back();
        if (event.kind == EventKind::Control && last.kind == EventKind::Control &&
            last.number == event.number && last.window == event.window) {
            if (event.type != ClickType::None)
                last.type = event.type;
            return;
        }
    }
    events_.push_back(event);
}

ToolkitEvent PendingEvents::take() {
    if (events_.empty())
        return {};
    ToolkitEvent event = events_.front();
    events_.pop_front();
    return event;
}

EventKind EventState::deliver(const ToolkitEvent& event) {
    switch (event.kind) {
    case EventKind::Control:
        lastNumber_ = event.number;
        lastType_ = event.type;
        break;
    case EventKind::Menu:
        lastNumber_ = event.number;
        break;
    default:
        break;
    }
    lastWindow_ = event.window;
    return event.kind;
}

} // namespace visemer
