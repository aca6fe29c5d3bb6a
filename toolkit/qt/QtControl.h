#pragma once

#include "toolkit/ToolkitTypes.h"

#include <QIcon>
#include <QPixmap>
#include <string>

class QWidget;

namespace visemer {

class EventSink;

// The generic operations every control answers; each kind overrides those
// that mean something for it and leaves the rest doing nothing.
class QtControl {
public:
    virtual ~QtControl() = default;
    virtual QWidget* widget() = 0;
    // The widget that takes the keyboard focus for the control.
    virtual QWidget* focusTarget() { return widget(); }

    virtual int value() const { return 0; }
    virtual void setValue(int) {}
    virtual void setPicture(const QPixmap*) {}
    virtual std::string text() const { return {}; }
    virtual void setText(const std::string&) {}
    virtual void addItem(int, const std::string&, const QIcon&) {}
    virtual void removeItem(int) {}
    virtual void clearItems() {}
    virtual int itemCount() const { return 0; }
    virtual int itemState(int) const { return 0; }
    virtual void setItemState(int, int) {}
    virtual std::string itemText(int, int) const { return {}; }
    virtual void setItemText(int, const std::string&, int) {}
    virtual void addColumn(int, const std::string&, int) {}
    virtual void refreshRow(int) {}
};

} // namespace visemer
