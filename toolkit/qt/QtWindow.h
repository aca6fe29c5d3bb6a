#pragma once

#include <QRect>
#include <QWidget>
#include <optional>

class QMenuBar;

namespace visemer {

class EventSink;

// A numbered top-level window: an optional menu bar over an inner area of
// exactly the size asked for. Its close box only reports; the program
// decides whether the window goes.
class QtWindow final : public QWidget {
public:
    QtWindow(int number, int width, int height, bool minimizeBox, bool owned, EventSink& sink);

    int number() const { return number_; }
    QWidget* inner() const { return inner_; }
    QMenuBar* menuBar();

    // Centres the whole window, frame and menu bar included, on the area
    // given (the screen, or the window that was active). The frame is known
    // only once the desktop has put it around the window, so the window is
    // placed again when its outer size changes after it is shown.
    void centreOn(const QRect& area, bool clampToArea);
    void recentre() {
        if (centring_)
            placeCentred();
    }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    int number_;
    EventSink& sink_;
    QWidget* inner_ = nullptr;
    QMenuBar* menuBar_ = nullptr;

    struct Centring {
        QRect area;
        bool clampToArea = false;
        QSize placedFor; // the outer size the window was placed for
        int movesLeft = 3;
    };
    void placeCentred();
    std::optional<Centring> centring_;
};

} // namespace visemer
