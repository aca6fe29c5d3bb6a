#include "toolkit/qt/QtToolkit.h"

#include "toolkit/TabOrder.h"

#include "toolkit/qt/DesktopOpen.h"
#include "toolkit/qt/KeyTranslation.h"
#include "toolkit/qt/ListViewControl.h"
#include "toolkit/qt/QtWindow.h"
#include "toolkit/qt/SimpleControls.h"
#include "toolkit/qt/TextBytes.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

namespace visemer {
namespace {
constexpr int kDialogFontPixels = 11;
} // namespace

QtToolkit::QtToolkit() {
    Q_ASSERT(qApp);
    qApp->installEventFilter(this);
    // The window layouts are drawn in pixels for a small dialog font.
    QFont dialogFont(QStringLiteral("Arial"));
    dialogFont.setPixelSize(kDialogFontPixels);
    defaultFont_ = dialogFont;
}

QtToolkit::~QtToolkit() {
    qApp->removeEventFilter(this);
    shutdown();
}

// ---- events ---------------------------------------------------------------

void QtToolkit::controlEvent(int control, int type) {
    const auto found = controls_.find(control);
    const int window = found == controls_.end() ? -1 : found->second.window;
    pending_.raise({EventKind::Control, control, type, window});
}

void QtToolkit::menuEvent(int identifier, int window) {
    pending_.raise({EventKind::Menu, identifier, ClickType::None, window});
}

void QtToolkit::closeEvent(int window) {
    pending_.raise({EventKind::Close, 0, ClickType::None, window});
}

void QtToolkit::showWaitingWindows() {
    const std::vector<int> waiting = std::exchange(awaitingShow_, {});
    for (const int window : waiting) {
        const auto found = windows_.find(window);
        if (found != windows_.end()) {
            // Its menu bar is in place by now, so it can be centred whole.
            found->second.widget->recentre();
            found->second.widget->show();
        }
    }
}

EventKind QtToolkit::waitEvent() {
    showWaitingWindows();
    state_.beginWait();
    // An event raised while the last command ran comes out first, before
    // any newer input is looked at.
    if (pending_.empty())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    if (pending_.empty())
        return state_.deliver({});
    return state_.deliver(pending_.take());
}

int QtToolkit::windowNumberOf(const QWidget* widget) const {
    if (!widget)
        return -1;
    const QWidget* top = widget->window();
    for (const auto& [number, window] : windows_)
        if (window.widget.get() == top)
            return number;
    return -1;
}

bool QtToolkit::routeShortcut(QObject* receiver, const QKeyEvent& key, bool override) {
    // Key events also pass through the platform window before they reach a
    // widget; only the widget's copy is looked at, so each press counts once.
    const auto* widget = qobject_cast<QWidget*>(receiver);
    if (!widget)
        return false;
    const int number = windowNumberOf(widget);
    const auto window = windows_.find(number);
    if (window == windows_.end() || !window->second.widget->isEnabled())
        return false;
    const int code = shortcutKeyOf(key);
    if (code == 0)
        return false;
    const auto entry = window->second.shortcuts.find(code);
    if (entry == window->second.shortcuts.end())
        return false;
    if (!override)
        menuEvent(entry->second, number);
    return true;
}

bool QtToolkit::isFocusKey(QObject* receiver, const QKeyEvent& key) const {
    const auto* widget = qobject_cast<QWidget*>(receiver);
    const auto modifiers = key.modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    return widget && modifiers == Qt::NoModifier &&
           (key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab) &&
           windowNumberOf(widget) >= 0;
}

void QtToolkit::moveFocus(QObject* receiver, const QKeyEvent& key) {
    const bool backwards = key.key() == Qt::Key_Backtab || (key.modifiers() & Qt::ShiftModifier);
    const int window = windowNumberOf(qobject_cast<QWidget*>(receiver));
    // Tab stops are the window's controls that take the focus, in the order
    // they were made, round and round.
    std::vector<int> stops;
    for (const int control : creationOrder_) {
        const auto found = controls_.find(control);
        if (found == controls_.end() || found->second.window != window)
            continue;
        QWidget* target = found->second.control->focusTarget();
        if ((target->focusPolicy() & Qt::TabFocus) && target->isVisibleTo(target->window()) &&
            target->isEnabled())
            stops.push_back(control);
    }
    if (QtControl* next = find(nextTabStop(stops, focusedControl(window), backwards)))
        next->focusTarget()->setFocus(backwards ? Qt::BacktabFocusReason : Qt::TabFocusReason);
}

int QtToolkit::focusedControl(int window) const {
    const auto found = windows_.find(window);
    if (found == windows_.end())
        return -1;
    const QWidget* focus = found->second.widget->focusWidget();
    if (!focus)
        return -1;
    for (const auto& [number, control] : controls_) {
        if (control.window != window)
            continue;
        const QWidget* own = control.control->widget();
        if (focus == own || own->isAncestorOf(focus))
            return number;
    }
    return -1;
}

void QtToolkit::focusControl(int control) {
    if (QtControl* found = find(control))
        found->focusTarget()->setFocus(Qt::OtherFocusReason);
}

bool QtToolkit::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::MouseButtonPress ||
        type == QEvent::MouseButtonDblClick)
        pending_.beginUserInput();
    if (type == QEvent::ShortcutOverride || type == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        // Tab moves the focus and does nothing else, whatever has it; the
        // override is claimed too, so the press reaches this filter.
        if (isFocusKey(watched, *key)) {
            if (type == QEvent::KeyPress)
                moveFocus(watched, *key);
            event->accept();
            return true;
        }
        const bool override = type == QEvent::ShortcutOverride;
        if (routeShortcut(watched, *key, override)) {
            // Claiming the override keeps Qt's own shortcuts and the
            // focused control from seeing the key; the press itself raises
            // the menu event.
            event->accept();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

// ---- windows --------------------------------------------------------------

bool QtToolkit::createWindow(int window, int x, int y, int width, int height, std::uint32_t flags,
                             const std::string& title, std::optional<int> owner) {
    if (width < 0 || height < 0)
        return false;
    if (windows_.count(window))
        destroyWindow(window);

    QWidget* active = QApplication::activeWindow();
    const auto ownerWindow = owner ? windows_.find(*owner) : windows_.end();
    auto made =
        std::make_unique<QtWindow>(window, width, height, (flags & WindowFlag::MinimizeBox) != 0,
                                   ownerWindow != windows_.end(), sink());
    made->setWindowTitle(toQt(title));
    // Controls inherit the default font from here; setting it on each new
    // control instead costs a font change per control.
    if (defaultFont_)
        made->inner()->setFont(*defaultFont_);
    if (ownerWindow != windows_.end()) {
        made->winId();
        ownerWindow->second.widget->winId();
        made->windowHandle()->setTransientParent(ownerWindow->second.widget->windowHandle());
        if (!active)
            active = ownerWindow->second.widget.get();
    }

    made->move(x, y);
    if (flags & WindowFlag::CentreOnScreen) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        made->centreOn(screen ? screen->geometry() : QRect(0, 0, width, height), true);
    } else if ((flags & WindowFlag::CentreOnActive) && active) {
        made->centreOn(active->frameGeometry(), false);
    }
    // The window goes on screen when the program next waits for input,
    // opens a requester or turns a window on or off. By then its controls
    // are in place, so it is laid out and drawn once rather than once for
    // every control added.
    awaitingShow_.push_back(window);

    Window entry;
    entry.widget = std::move(made);
    entry.owner = owner;
    windows_[window] = std::move(entry);
    currentWindow_ = window;
    return true;
}

void QtToolkit::destroyWindow(int window) {
    const auto found = windows_.find(window);
    if (found == windows_.end())
        return;
    const std::optional<int> owner = found->second.owner;
    for (auto control = controls_.begin(); control != controls_.end();)
        control = control->second.window == window ? controls_.erase(control) : std::next(control);
    for (auto menu = menus_.begin(); menu != menus_.end();)
        menu = menu->second.window == window ? menus_.erase(menu) : std::next(menu);
    if (controlWindow_ == window)
        currentDropDown_ = nullptr;
    found->second.widget.reset();
    windows_.erase(found);
    if (owner) {
        const auto ownerWindow = windows_.find(*owner);
        if (ownerWindow != windows_.end())
            ownerWindow->second.widget->activateWindow();
    }
}

void QtToolkit::useWindow(int window) {
    if (windows_.count(window))
        currentWindow_ = window;
}

void QtToolkit::setWindowEnabled(int window, bool enabled) {
    // Turning a window off usually hands the user to a window just made,
    // which should hold the focus by then.
    showWaitingWindows();
    const auto found = windows_.find(window);
    if (found != windows_.end())
        found->second.widget->setEnabled(enabled);
}

bool QtToolkit::isWindowEnabled(int window) const {
    const auto found = windows_.find(window);
    return found != windows_.end() && found->second.widget->isEnabled();
}

void QtToolkit::focusWindow(int window) {
    const auto found = windows_.find(window);
    if (found == windows_.end())
        return;
    showWaitingWindows();
    QtWindow* widget = found->second.widget.get();
    widget->raise();
    widget->activateWindow();
    if (!widget->focusWidget())
        widget->setFocus(Qt::ActiveWindowFocusReason);
}

void QtToolkit::useControlList(int window) {
    if (windows_.count(window)) {
        controlWindow_ = window;
        lastWasOption_ = false;
    }
}

Rect QtToolkit::windowRect(int window) const {
    const auto found = windows_.find(window);
    if (found == windows_.end())
        return {};
    const QWidget* inner = found->second.widget->inner();
    const QPoint origin = inner->mapToGlobal(QPoint(0, 0));
    return {origin.x(), origin.y(), inner->width(), inner->height()};
}

QWidget* QtToolkit::windowWidget(int window) const {
    const auto found = windows_.find(window);
    return found == windows_.end() ? nullptr : found->second.widget.get();
}

// ---- controls -------------------------------------------------------------

QtControl* QtToolkit::find(int control) const {
    const auto found = controls_.find(control);
    return found == controls_.end() ? nullptr : found->second.control;
}

QWidget* QtToolkit::controlWidget(int control) const {
    QtControl* found = find(control);
    return found ? found->widget() : nullptr;
}

void QtToolkit::place(int control, QtControl* made, int x, int y, int width, int height) {
    QWidget* widget = made->widget();
    widget->setGeometry(x, y, width, height);
    if (defaultFont_ && widget->font() != *defaultFont_)
        widget->setFont(*defaultFont_);
    widget->show();
    if (QtControl* old = find(control))
        delete old->widget();
    controls_[control] = {made, controlWindow_};
    creationOrder_.erase(std::remove(creationOrder_.begin(), creationOrder_.end(), control),
                         creationOrder_.end());
    creationOrder_.push_back(control);
    lastWasOption_ = false;
}

QWidget* QtToolkit::controlParent() const {
    const auto window = windows_.find(controlWindow_);
    return window == windows_.end() ? nullptr : window->second.widget->inner();
}

void QtToolkit::createImageControl(int control, int x, int y, int width, int height, Image image,
                                   std::uint32_t flags) {
    QWidget* parent = controlParent();
    if (!parent)
        return;
    auto* made = new ImageControl(parent, (flags & ControlFlag::SunkenBorder) != 0);
    place(control, made, x, y, width, height);
    made->setPicture(images_.picture(image));
}

void QtToolkit::createLabel(int control, int x, int y, int width, int height,
                            const std::string& text, std::uint32_t flags) {
    QWidget* parent = controlParent();
    if (!parent)
        return;
    auto* made = new LabelControl(parent, text);
    if (flags & ControlFlag::Centred)
        made->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    place(control, made, x, y, width, height);
}

void QtToolkit::createButton(int control, int x, int y, int width, int height,
                             const std::string& text) {
    QWidget* parent = controlParent();
    if (!parent)
        return;
    place(control, new ButtonControl(parent, text, sink(), control), x, y, width, height);
}

void QtToolkit::createDropList(int control, int x, int y, int width, int listHeight) {
    QWidget* parent = controlParent();
    if (!parent)
        return;
    auto* made = new DropListControl(parent, sink(), control);
    // The list height counts the opened list; the closed box keeps its own.
    place(control, made, x, y, width, made->sizeHint().height());
    made->setListHeight(listHeight);
}

void QtToolkit::createTextField(int control, int x, int y, int width, int height,
                                const std::string& text, std::uint32_t flags) {
    QWidget* parent = controlParent();
    if (!parent)
        return;
    place(control,
          new TextFieldControl(parent, text, (flags & ControlFlag::ReadOnly) != 0, sink(), control),
          x, y, width, height);
}

void QtToolkit::createGroupBox(int control, int x, int y, int width, int height,
                               const std::string& text) {
    QWidget* parent = controlParent();
    if (!parent)
        return;
    auto* made = new GroupBoxControl(parent, text);
    place(control, made, x, y, width, height);
    made->lower();
}

void QtToolkit::createOption(int control, int x, int y, int width, int height,
                             const std::string& text) {
    QWidget* parent = controlParent();
    if (!parent)
        return;
    if (!lastWasOption_ || lastOptionWindow_ != controlWindow_)
        ++optionGroup_;
    place(control, new OptionControl(parent, text, optionGroup_, sink(), control), x, y, width,
          height);
    lastWasOption_ = true;
    lastOptionWindow_ = controlWindow_;
}

void QtToolkit::createListView(int control, int x, int y, int width, int height,
                               const std::string& firstColumnTitle, int firstColumnWidth,
                               std::uint32_t flags) {
    QWidget* parent = controlParent();
    if (!parent)
        return;
    place(control,
          new ListViewControl(parent, firstColumnTitle, firstColumnWidth, flags, sink(), control),
          x, y, width, height);
    lastListView_ = control;
}

void QtToolkit::setListDisplayMode(ListDisplayMode mode) {
    if (auto* list = dynamic_cast<ListViewControl*>(find(lastListView_)))
        list->setDisplayMode(mode);
}

void QtToolkit::createLink(int control, int x, int y, int width, int height,
                           const std::string& text, Colour hoverColour) {
    QWidget* parent = controlParent();
    if (!parent)
        return;
    const QColor hover(hoverColour.red, hoverColour.green, hoverColour.blue);
    place(control, new LinkControl(parent, text, hover, sink(), control), x, y, width, height);
}

int QtToolkit::getValue(int control) const {
    const QtControl* found = find(control);
    return found ? found->value() : 0;
}

void QtToolkit::setValue(int control, int value) {
    if (QtControl* found = find(control))
        found->setValue(value);
}

void QtToolkit::setValue(int control, Image image) {
    if (QtControl* found = find(control))
        found->setPicture(images_.picture(image));
}

std::string QtToolkit::getText(int control) const {
    const QtControl* found = find(control);
    if (!found)
        return {};
    constexpr std::size_t kMaxTextRead = 32000;
    return found->text().substr(0, kMaxTextRead);
}

void QtToolkit::setText(int control, const std::string& text) {
    if (QtControl* found = find(control))
        found->setText(text);
}

void QtToolkit::addItem(int control, int position, const std::string& text, Image image) {
    if (QtControl* found = find(control))
        found->addItem(position, text, images_.icon(image));
}

void QtToolkit::removeItem(int control, int index) {
    if (QtControl* found = find(control))
        found->removeItem(index);
}

void QtToolkit::clearItems(int control) {
    if (QtControl* found = find(control))
        found->clearItems();
}

int QtToolkit::itemCount(int control) const {
    const QtControl* found = find(control);
    return found ? found->itemCount() : 0;
}

int QtToolkit::itemState(int control, int index) const {
    const QtControl* found = find(control);
    return found ? found->itemState(index) : 0;
}

void QtToolkit::setItemState(int control, int index, int state) {
    if (QtControl* found = find(control))
        found->setItemState(index, state);
}

std::string QtToolkit::itemText(int control, int index, int column) const {
    const QtControl* found = find(control);
    return found ? found->itemText(index, column) : std::string();
}

void QtToolkit::setItemText(int control, int index, const std::string& text, int column) {
    if (QtControl* found = find(control))
        found->setItemText(index, text, column);
}

void QtToolkit::addColumn(int control, int position, const std::string& title, int width) {
    if (QtControl* found = find(control))
        found->addColumn(position, title, width);
}

void QtToolkit::setControlFont(int control, int font) {
    const auto loaded = fonts_.find(font);
    if (loaded == fonts_.end())
        return;
    if (control == -1) {
        defaultFont_ = loaded->second;
        return;
    }
    if (QtControl* found = find(control))
        found->widget()->setFont(loaded->second);
}

void QtToolkit::refreshListRow(int control, int row) {
    if (QtControl* found = find(control))
        found->refreshRow(row);
}

Rect QtToolkit::controlRect(int control) const {
    QtControl* found = find(control);
    if (!found)
        return {};
    const QRect geometry = found->widget()->geometry();
    return {geometry.x(), geometry.y(), geometry.width(), geometry.height()};
}

bool QtToolkit::controlExists(int control) const {
    return find(control) != nullptr;
}

// ---- images ---------------------------------------------------------------

Image QtToolkit::loadImage(int slot, const std::string& path) {
    return images_.load(slot, path);
}

void QtToolkit::freeImage(int slot) {
    images_.free(slot);
}

Image QtToolkit::imageOf(int slot) const {
    return images_.of(slot);
}

Size QtToolkit::imageSize(Image image) const {
    const QPixmap* picture = images_.picture(image);
    return picture ? Size{picture->width(), picture->height()} : Size{};
}

// ---- menus and shortcuts --------------------------------------------------

void QtToolkit::createMenuBar(int menu, int window) {
    const auto found = windows_.find(window);
    if (found == windows_.end())
        return;
    Menu made;
    made.bar = found->second.widget->menuBar();
    made.window = window;
    menus_[menu] = std::move(made);
    currentMenu_ = menu;
    currentDropDown_ = nullptr;
}

void QtToolkit::addMenuTitle(const std::string& text) {
    const auto found = menus_.find(currentMenu_);
    if (found == menus_.end() || !found->second.bar)
        return;
    currentDropDown_ = found->second.bar->addMenu(toQt(text));
}

void QtToolkit::addMenuItem(int identifier, const std::string& text) {
    const auto found = menus_.find(currentMenu_);
    if (found == menus_.end() || !found->second.bar)
        return;
    Menu& menu = found->second;
    QAction* action = currentDropDown_ ? currentDropDown_->addAction(toQt(text))
                                       : menu.bar->addAction(toQt(text));
    const int window = menu.window;
    const int menuNumber = currentMenu_;
    connect(action, &QAction::triggered, this, [this, action, identifier, window, menuNumber] {
        // A checkable action flips itself when chosen; the mark is the
        // program's to set, so put back what it last asked for.
        const auto owner = menus_.find(menuNumber);
        if (owner != menus_.end())
            action->setChecked(owner->second.checked[identifier]);
        if (isWindowEnabled(window))
            menuEvent(identifier, window);
    });
    menu.items[identifier] = action;
}

void QtToolkit::addMenuSeparator() {
    const auto found = menus_.find(currentMenu_);
    if (found == menus_.end() || !found->second.bar)
        return;
    if (currentDropDown_)
        currentDropDown_->addSeparator();
    else
        found->second.bar->addSeparator();
}

void QtToolkit::setMenuItemChecked(int menu, int identifier, bool checked) {
    const auto found = menus_.find(menu);
    if (found == menus_.end())
        return;
    const auto item = found->second.items.find(identifier);
    if (item == found->second.items.end())
        return;
    found->second.checked[identifier] = checked;
    // Only a marked item shows a check box, as in any other menu.
    item->second->setCheckable(checked);
    item->second->setChecked(checked);
}

int QtToolkit::isMenuItemChecked(int menu, int identifier) const {
    const auto found = menus_.find(menu);
    if (found == menus_.end())
        return 0;
    const auto item = found->second.checked.find(identifier);
    return item != found->second.checked.end() && item->second ? 1 : 0;
}

QAction* QtToolkit::menuAction(int menu, int identifier) const {
    const auto found = menus_.find(menu);
    if (found == menus_.end())
        return nullptr;
    const auto item = found->second.items.find(identifier);
    return item == found->second.items.end() ? nullptr : item->second;
}

void QtToolkit::addShortcut(int window, int key, int identifier) {
    const auto found = windows_.find(window);
    if (found == windows_.end())
        return;
    found->second.shortcuts[KeyChord::fromShortcut(key).shortcut()] = identifier;
}

// ---- services -------------------------------------------------------------

void QtToolkit::loadFont(int font, const std::string& face, int points, int flags) {
    QFont made(toQt(face));
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    made.setPixelSize(std::max(1, static_cast<int>(points * dpi / 72.0 + 0.5)));
    made.setBold((flags & FontFlag::Bold) != 0);
    made.setItalic((flags & FontFlag::Italic) != 0);
    made.setUnderline((flags & FontFlag::Underline) != 0);
    made.setStrikeOut((flags & FontFlag::Strikeout) != 0);
    if (flags & FontFlag::HighQuality)
        made.setStyleStrategy(QFont::PreferQuality);
    fonts_[font] = made;
    lastFont_ = font;
}

QWidget* QtToolkit::dialogParent() {
    showWaitingWindows();
    QWidget* active = QApplication::activeWindow();
    if (windowNumberOf(active) >= 0)
        return active;
    const auto current = windows_.find(currentWindow_);
    return current == windows_.end() ? nullptr : current->second.widget.get();
}

void QtToolkit::shellOpen(const std::string& target, const std::string&,
                          const std::string& folder) {
    if (target.empty())
        return;
    const QString text = toQt(target);
    const bool webAddress =
        text.contains(QLatin1String("://")) || text.startsWith(QLatin1String("mailto:"));
    if (webAddress) {
        openOnDesktop(text, true);
        return;
    }
    const QDir base(folder.empty() ? QDir::currentPath() : toQt(folder));
    openOnDesktop(base.absoluteFilePath(text), false);
}

void QtToolkit::setClipboardText(const std::string& text) {
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(toQt(text));
}

void QtToolkit::sleepMs(int milliseconds) {
    if (milliseconds > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// Widgets ask to be drawn with posted update requests; sending only those
// leaves every key and click where it was.
void QtToolkit::paintPending() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}

void QtToolkit::shutdown() {
    images_.clear();
    controls_.clear();
    creationOrder_.clear();
    menus_.clear();
    currentDropDown_ = nullptr;
    // Owned windows go before their owners.
    while (!windows_.empty()) {
        auto victim = windows_.begin();
        for (auto it = windows_.begin(); it != windows_.end(); ++it)
            if (it->second.owner && windows_.count(*it->second.owner))
                victim = it;
        victim->second.widget.reset();
        windows_.erase(victim);
    }
    fonts_.clear();
    defaultFont_.reset();
    pending_.clear();
    awaitingShow_.clear();
}

} // namespace visemer
