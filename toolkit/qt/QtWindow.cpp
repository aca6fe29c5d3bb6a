#include "toolkit/qt/QtWindow.h"

#include "toolkit/qt/EventSink.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QVBoxLayout>

namespace visemer {

QtWindow::QtWindow(int number, int width, int height, bool minimizeBox, EventSink& sink)
    : QWidget(nullptr, Qt::Window), number_(number), sink_(sink), inner_(new QWidget(this)) {
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
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

void QtWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (isEnabled())
        sink_.closeEvent(number_);
}

} // namespace visemer
