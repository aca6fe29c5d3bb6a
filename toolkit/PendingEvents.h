#pragma once

#include "toolkit/ToolkitTypes.h"

#include <cstddef>
#include <deque>

namespace visemer {

// One event waiting to come out of waitEvent.
struct ToolkitEvent {
    EventKind kind = EventKind::None;
    int number = 0;             // control number or menu identifier
    int type = ClickType::None; // control events only
    int window = -1;            // -1: no numbered window
};

// The events raised since the last wait, oldest first. Consecutive events
// of one control merge into one, keeping the click type if any of them had
// one, so a command that moves a list's selection many times leaves one
// event behind and a click that also selects a row reports once. Each new
// piece of user input (a key or button press) starts afresh: its events
// never merge with those raised before it, so input that the platform
// hands over in one batch still comes out one event per press, in order.
class PendingEvents {
public:
    void raise(const ToolkitEvent& event);
    // Called as a key or mouse button press arrives from the user.
    void beginUserInput() { separate_ = true; }
    bool empty() const { return events_.empty(); }
    std::size_t size() const { return events_.size(); }
    ToolkitEvent take();
    void clear() {
        events_.clear();
        separate_ = false;
    }

private:
    std::deque<ToolkitEvent> events_;
    bool separate_ = false;
};

// What the toolkit reports about the event waitEvent returned last.
class EventState {
public:
    // The first step of every wait.
    void beginWait() { lastType_ = ClickType::None; }
    // Records an event as the one the wait returns; gives its kind.
    EventKind deliver(const ToolkitEvent& event);
    int lastNumber() const { return lastNumber_; }
    int lastType() const { return lastType_; }
    int lastWindow() const { return lastWindow_; }

private:
    int lastNumber_ = 0;
    int lastType_ = ClickType::None;
    int lastWindow_ = -1;
};

} // namespace visemer
