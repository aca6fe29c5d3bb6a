#pragma once

namespace visemer {

// Where the Qt widgets of the toolkit report what the user (or the program)
// did to them.
class EventSink {
public:
    virtual void controlEvent(int control, int type) = 0;
    virtual void menuEvent(int identifier, int window) = 0;
    virtual void closeEvent(int window) = 0;

protected:
    ~EventSink() = default;
};

} // namespace visemer
