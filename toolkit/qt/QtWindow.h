#pragma once

#include <QWidget>

class QMenuBar;

namespace visemer {

class EventSink;

// A numbered top-level window: an optional menu bar over an inner area of
// exactly the size asked for. Its close box only reports; the program
// decides whether the window goes.
class QtWindow final : public QWidget {
public:
    QtWindow(int number, int width, int height, bool minimizeBox, EventSink& sink);

    int number() const { return number_; }
    QWidget* inner() const { return inner_; }
    QMenuBar* menuBar();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    int number_;
    EventSink& sink_;
    QWidget* inner_;
    QMenuBar* menuBar_ = nullptr;
};

} // namespace visemer
