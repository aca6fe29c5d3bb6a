#pragma once

// One way to drive either toolkit from a test: the contract suite is
// written once against this and runs over both.

#include "tests/support/FakeToolkit.h"
#include "tests/support/QtRequesters.h"
#include "toolkit/qt/ListViewControl.h"
#include "toolkit/qt/QtToolkit.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace visemer::testing {

class FakeHarness {
public:
    UiToolkit& toolkit() { return fake_; }

    // Each gives the kind of event the next wait returns, None if the
    // input raised nothing.
    EventKind pressKey(int, int key) {
        fake_.pressKey(key);
        return fake_.waitEvent();
    }
    EventKind clickButton(int control) {
        fake_.click(control);
        return fake_.waitEvent();
    }
    EventKind chooseMenu(int identifier) {
        fake_.chooseMenu(identifier);
        return fake_.waitEvent();
    }
    EventKind waitIfPending() {
        return fake_.hasPendingEvent() ? fake_.waitEvent() : EventKind::None;
    }
    bool hasPending() const { return fake_.hasPendingEvent(); }

    void focusControl(int control) { fake_.focusControl(control); }
    int focusedControl(int window) const { return fake_.focusedControl(window); }
    // The window another one is kept above by the desktop, -1 if none.
    int ownerOf(int window) const {
        const auto* found = fake_.window(window);
        return found && found->owner ? *found->owner : -1;
    }

    // Clicks made while a long command ran: they reach the toolkit together
    // at the next wait. Gives what that wait returns.
    // A click the platform has queued and the program has not yet taken,
    // and the next wait that takes it.
    void queueClick(int control) { fake_.click(control); }
    EventKind takeQueuedInput() { return fake_.waitEvent(); }
    EventKind clickButtonsInOneBatch(const std::vector<int>& controls) {
        fake_.batch([&] {
            for (const int control : controls)
                fake_.click(control);
        });
        return fake_.waitEvent();
    }
    EventKind clickRowsInOneBatch(int control, const std::vector<int>& rows) {
        fake_.batch([&] {
            for (const int row : rows)
                fake_.clickRow(control, row);
        });
        return fake_.waitEvent();
    }

    // The next file requester is answered with this path and file-type entry;
    // an empty path cancels it.
    void answerFileDialog(const std::string& path, int filter) {
        if (path.empty())
            fake_.answerFileDialog("");
        else
            fake_.answerFileDialog(path, filter);
    }

private:
    FakeToolkit fake_;
};

class QtHarness {
public:
    UiToolkit& toolkit() { return qt_; }

    EventKind pressKey(int window, int key) {
        QWidget* target = qt_.windowWidget(window);
        if (!target)
            return EventKind::None;
        if (QWidget* focus = target->focusWidget())
            target = focus;
        Qt::KeyboardModifiers modifiers;
        if (key & Key::Shift)
            modifiers |= Qt::ShiftModifier;
        if (key & Key::Ctrl)
            modifiers |= Qt::ControlModifier;
        if (key & Key::Alt)
            modifiers |= Qt::AltModifier;
        const int code = key & ~Key::ModifierMask;
        Qt::Key qtKey = Qt::Key_unknown;
        if (code >= Key::A && code <= Key::Z)
            qtKey = static_cast<Qt::Key>(Qt::Key_A + (code - Key::A));
        else if (code >= 96 && code <= 105) {
            qtKey = static_cast<Qt::Key>(Qt::Key_0 + (code - 96));
            modifiers |= Qt::KeypadModifier;
        } else if (code >= 48 && code <= 57)
            qtKey = static_cast<Qt::Key>(Qt::Key_0 + (code - 48));
        else if (code == Key::Escape)
            qtKey = Qt::Key_Escape;
        else if (code == Key::Space)
            qtKey = Qt::Key_Space;
        else if (code == Key::Enter)
            qtKey = Qt::Key_Return;
        else if (code == Key::Tab)
            qtKey = (key & Key::Shift) ? Qt::Key_Backtab : Qt::Key_Tab;
        QTest::keyClick(target, qtKey, modifiers);
        return waitIfPending();
    }
    EventKind clickButton(int control) {
        QWidget* button = qt_.controlWidget(control);
        if (!button)
            return EventKind::None;
        QTest::mouseClick(button, Qt::LeftButton);
        return waitIfPending();
    }
    EventKind chooseMenu(int identifier) {
        if (QAction* action = qt_.menuAction(0, identifier))
            action->trigger();
        return waitIfPending();
    }
    EventKind waitIfPending() { return qt_.hasPendingEvent() ? qt_.waitEvent() : EventKind::None; }
    bool hasPending() const { return qt_.hasPendingEvent(); }

    void focusControl(int control) {
        const int window = qt_.windowNumberOfControl(control);
        qt_.focusWindow(window);
        QApplication::processEvents();
        qt_.focusControl(control);
        QApplication::processEvents();
    }
    int focusedControl(int window) const { return qt_.focusedControl(window); }
    int ownerOf(int window) const {
        QWidget* widget = qt_.windowWidget(window);
        if (!widget || !widget->windowHandle())
            return -1;
        // The desktop keeps a window above another only when it is told the
        // window is a dialog of that one.
        const QWindow* owner = widget->windowHandle()->transientParent();
        if (!owner || widget->windowHandle()->type() != Qt::Dialog)
            return -1;
        for (const int candidate : {0, 1})
            if (QWidget* other = qt_.windowWidget(candidate);
                other && other->windowHandle() == owner)
                return candidate;
        return -1;
    }

    // Real clicks, all delivered before the program waits again.
    void queueClick(int control) {
        QWidget* button = qt_.controlWidget(control);
        if (!button)
            return;
        const QPointF at = button->rect().center();
        const QPointF global = button->mapToGlobal(at);
        QCoreApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonPress, at, global,
                                                            Qt::LeftButton, Qt::LeftButton, {}));
        QCoreApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonRelease, at, global,
                                                            Qt::LeftButton, Qt::NoButton, {}));
    }
    EventKind takeQueuedInput() {
        QApplication::processEvents();
        return waitIfPending();
    }
    EventKind clickButtonsInOneBatch(const std::vector<int>& controls) {
        for (const int control : controls)
            if (QWidget* button = qt_.controlWidget(control))
                QTest::mouseClick(button, Qt::LeftButton);
        return waitIfPending();
    }
    EventKind clickRowsInOneBatch(int control, const std::vector<int>& rows) {
        auto* list = dynamic_cast<ListViewControl*>(qt_.controlWidget(control));
        if (!list)
            return EventKind::None;
        QAbstractItemView* view = list->activeView();
        for (const int row : rows) {
            const QRect cell = view->visualRect(view->model()->index(row, 0));
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        }
        return waitIfPending();
    }

    void answerFileDialog(const std::string& path, int filter) {
        if (path.empty())
            cancelRequester();
        else
            answerRequester(QString::fromStdString(path), filter);
    }

private:
    QtToolkit qt_;
};

} // namespace visemer::testing
