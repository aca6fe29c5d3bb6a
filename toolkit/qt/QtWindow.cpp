#include "toolkit/qt/QtWindow.h"

#include "toolkit/qt/EventSink.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

namespace visemer {

QtWindow::QtWindow(int number, int width, int height, bool minimizeBox, bool owned, EventSink& sink)
    : QWidget(nullptr, Qt::Window), number_(number), sink_(sink) {
    // Made once every member is in place: adding a child already sends the
    // window events.
    inner_ = new QWidget(this);
    // An owned window is told to the desktop as its owner's dialog
    // (WM_TRANSIENT_FOR), so the window manager keeps it above its owner;
    // X11 carries that only for dialog-like windows.
    Qt::WindowFlags flags = (owned ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint |
                            Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowCloseButtonHint;
    if (minimizeBox)
        flags |= Qt::WindowMinimizeButtonHint;
    setWindowFlags(flags);
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    inner_->setFixedSize(width, height);
    layout->addWidget(inner_);
}

QMenuBar* QtWindow::menuBar() {
    if (!menuBar_) {
        menuBar_ = new QMenuBar(this);
        menuBar_->setNativeMenuBar(false);
        layout()->setMenuBar(menuBar_);
    }
    return menuBar_;
}

void QtWindow::centreOn(const QRect& area, bool clampToArea) {
    centring_ = Centring{area, clampToArea, {}, 3};
    placeCentred();
}

void QtWindow::placeCentred() {
    Centring& centring = *centring_;
    // Before the window is shown its outer size is its layout's size (inner
    // area and menu bar) and whatever frame the desktop has reported so far.
    QSize outer = frameGeometry().size();
    if (!isVisible()) {
        const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
        outer = sizeHint().grownBy(frame);
    }
    centring.placedFor = outer;
    const QRect& area = centring.area;
    int x = 0;
    int y = 0;
    if (centring.clampToArea) {
        outer = outer.boundedTo(area.size());
        x = area.x() + (area.width() - outer.width()) / 2;
        y = area.y() + (area.height() - outer.height()) / 2;
    } else {
        x = std::max(0, area.x() + area.width() / 2 - outer.width() / 2);
        y = std::max(0, area.y() + area.height() / 2 - outer.height() / 2);
    }
    move(x, y);
}

bool QtWindow::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    const auto type = event->type();
    if (centring_ && isVisible() &&
        (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show ||
         type == QEvent::WindowActivate)) {
        if (frameGeometry().size() != centring_->placedFor && centring_->movesLeft-- > 0)
            placeCentred();
        // Once placed for its real outer size, the window is the user's to move.
        if (frameGeometry().size() == centring_->placedFor && type == QEvent::WindowActivate)
            centring_.reset();
    }
    return handled;
}

void QtWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (isEnabled())
        sink_.closeEvent(number_);
}

} // namespace visemer
