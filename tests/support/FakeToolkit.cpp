#include "tests/support/FakeToolkit.h"

#include "tests/support/ImageFiles.h"
#include "text/AsciiCase.h"
#include "toolkit/DialogPaths.h"
#include "toolkit/FileFilter.h"
#include "toolkit/ImageSignature.h"
#include "toolkit/KeyChord.h"
#include "toolkit/TabOrder.h"

#include <algorithm>

namespace visemer::testing {

// ---- windows ----------------------------------------------------------------

bool FakeToolkit::createWindow(int window, int x, int y, int width, int height, std::uint32_t flags,
                               const std::string& title, std::optional<int> owner) {
    if (width < 0 || height < 0 || refuseWindows_)
        return false;
    if (windows_.count(window))
        destroyWindow(window);
    FakeWindow made;
    if (flags & WindowFlag::CentreOnScreen) {
        x = (kScreen.width - std::min(width, kScreen.width)) / 2;
        y = (kScreen.height - std::min(height, kScreen.height)) / 2;
    } else if (flags & WindowFlag::CentreOnActive) {
        const auto active = windows_.find(activeWindow_);
        if (active != windows_.end()) {
            const Rect& around = active->second.rect;
            x = std::max(0, around.x + around.width / 2 - width / 2);
            y = std::max(0, around.y + around.height / 2 - height / 2);
        }
    }
    made.rect = {x, y, width, height};
    made.flags = flags;
    made.title = title;
    if (owner && windows_.count(*owner))
        made.owner = owner;
    windows_[window] = made;
    currentWindow_ = window;
    activeWindow_ = window;
    return true;
}

void FakeToolkit::destroyWindow(int window) {
    const auto found = windows_.find(window);
    if (found == windows_.end())
        return;
    const std::optional<int> owner = found->second.owner;
    for (auto it = controls_.begin(); it != controls_.end();)
        it = it->second.window == window ? controls_.erase(it) : std::next(it);
    std::erase_if(creationOrder_, [window](const auto& entry) { return entry.first == window; });
    shortcutOrder_.erase(window);
    if (menuWindow_ == window) {
        menuItems_.clear();
        haveMenu_ = false;
    }
    windows_.erase(found);
    if (activeWindow_ == window)
        activeWindow_ = owner && windows_.count(*owner) ? *owner : -1;
}

void FakeToolkit::useWindow(int window) {
    if (windows_.count(window))
        currentWindow_ = window;
}

void FakeToolkit::setWindowEnabled(int window, bool enabled) {
    const auto found = windows_.find(window);
    if (found != windows_.end())
        found->second.enabled = enabled;
}

bool FakeToolkit::isWindowEnabled(int window) const {
    const auto found = windows_.find(window);
    return found != windows_.end() && found->second.enabled;
}

void FakeToolkit::focusWindow(int window) {
    if (windows_.count(window))
        activeWindow_ = window;
}

void FakeToolkit::useControlList(int window) {
    if (windows_.count(window)) {
        controlWindow_ = window;
        lastWasOption_ = false;
    }
}

Rect FakeToolkit::windowRect(int window) const {
    const FakeWindow* found = this->window(window);
    return found ? found->rect : Rect{};
}

const FakeToolkit::FakeWindow* FakeToolkit::window(int number) const {
    const auto found = windows_.find(number);
    return found == windows_.end() ? nullptr : &found->second;
}

bool FakeToolkit::windowTakesInput(int window) const {
    const FakeWindow* found = this->window(window);
    return found && found->enabled;
}

// ---- events -------------------------------------------------------------------

void FakeToolkit::raiseControl(int control, int type) {
    const FakeControl* found = find(control);
    pending_.raise({EventKind::Control, control, type, found ? found->window : -1});
}

EventKind FakeToolkit::waitEvent() {
    state_.beginWait();
    if (pending_.empty()) {
        if (input_.empty()) {
            ++dryWaits_;
            return state_.deliver({EventKind::Close, 0, ClickType::None, 0});
        }
        // Input that waited while a command ran arrives together, as the
        // platform hands over its whole queue at the next wait.
        do {
            auto happening = std::move(input_.front().happening);
            input_.pop_front();
            pending_.beginUserInput();
            happening();
        } while (!input_.empty() && input_.front().batched);
    }
    return state_.deliver(pending_.take());
}

void FakeToolkit::input(std::function<void()> happening) {
    input_.push_back({std::move(happening), batching_ && batchStarted_});
    batchStarted_ = batching_;
}

void FakeToolkit::batch(const std::function<void()>& script) {
    batching_ = true;
    batchStarted_ = false;
    script();
    batching_ = false;
    batchStarted_ = false;
}

void FakeToolkit::pressKey(int key) {
    input([this, key] {
        const auto window = windows_.find(activeWindow_);
        if (window == windows_.end() || !window->second.enabled)
            return;
        if ((key & ~Key::Shift) == Key::Tab) {
            moveFocus((key & Key::Shift) != 0);
            return;
        }
        const auto entry = window->second.shortcuts.find(KeyChord::fromShortcut(key).shortcut());
        if (entry != window->second.shortcuts.end())
            pending_.raise({EventKind::Menu, entry->second, ClickType::None, activeWindow_});
    });
}

void FakeToolkit::moveFocus(bool backwards) {
    std::vector<int> stops;
    for (const auto& [window, control] : creationOrder_) {
        const FakeControl* found = find(control);
        if (window != activeWindow_ || !found)
            continue;
        switch (found->kind) {
        case ControlKind::Button:
        case ControlKind::DropList:
        case ControlKind::TextField:
        case ControlKind::Option:
        case ControlKind::ListView:
            stops.push_back(control);
            break;
        default:
            break;
        }
    }
    if (!stops.empty())
        focusedControl_ = nextTabStop(stops, focusedControl(activeWindow_), backwards);
}

void FakeToolkit::focusControl(int control) {
    if (find(control))
        focusedControl_ = control;
}

int FakeToolkit::focusedControl(int window) const {
    const FakeControl* found = find(focusedControl_);
    return found && found->window == window ? focusedControl_ : -1;
}

void FakeToolkit::chooseMenu(int identifier) {
    input([this, identifier] {
        if (menuItems_.count(identifier) && windowTakesInput(menuWindow_))
            pending_.raise({EventKind::Menu, identifier, ClickType::None, menuWindow_});
    });
}

void FakeToolkit::click(int control, int type) {
    input([this, control, type] {
        FakeControl* found = find(control);
        if (!found || !windowTakesInput(found->window))
            return;
        if (found->kind == ControlKind::Option) {
            setValue(control, 1);
            raiseControl(control, ClickType::Left);
        } else if (found->kind == ControlKind::Button || found->kind == ControlKind::Link) {
            if (type == ClickType::Left)
                raiseControl(control, ClickType::Left);
        } else if (found->kind == ControlKind::ListView) {
            raiseControl(control, type);
        }
    });
}

void FakeToolkit::clickRow(int control, int row, int type) {
    input([this, control, row, type] {
        FakeControl* found = find(control);
        if (!found || found->kind != ControlKind::ListView || !windowTakesInput(found->window))
            return;
        raiseControl(control, type);
        if (found->rows.hasRow(row))
            changeSelection(*found, control, {row}, row);
    });
}

void FakeToolkit::ctrlClickRow(int control, int row) {
    input([this, control, row] {
        FakeControl* found = find(control);
        if (!found || found->kind != ControlKind::ListView || !windowTakesInput(found->window) ||
            !found->rows.hasRow(row))
            return;
        raiseControl(control, ClickType::Left);
        std::set<int> selected = found->multiSelect ? found->selected : std::set<int>{};
        if (found->multiSelect && selected.count(row))
            selected.erase(row);
        else
            selected.insert(row);
        changeSelection(*found, control, selected, row);
    });
}

void FakeToolkit::clickListBackground(int control, int type) {
    input([this, control, type] {
        FakeControl* found = find(control);
        if (!found || found->kind != ControlKind::ListView || !windowTakesInput(found->window))
            return;
        raiseControl(control, type);
        // Only a list where several rows may be selected drops its selection.
        if (found->multiSelect)
            changeSelection(*found, control, {}, found->current);
    });
}

void FakeToolkit::pickEntry(int control, int index) {
    input([this, control, index] {
        FakeControl* found = find(control);
        if (!found || found->kind != ControlKind::DropList || !windowTakesInput(found->window) ||
            index < 0 || index >= static_cast<int>(found->entries.size()))
            return;
        found->selectedEntry = index;
        raiseControl(control, ClickType::DropListSelection);
    });
}

void FakeToolkit::clickCloseBox(int window) {
    input([this, window] {
        if (windowTakesInput(window))
            pending_.raise({EventKind::Close, 0, ClickType::None, window});
    });
}

void FakeToolkit::moveWindow(int window) {
    input([this, window] {
        if (windows_.count(window))
            pending_.raise({EventKind::WindowMoved, 0, ClickType::None, window});
    });
}

// ---- controls -----------------------------------------------------------------

FakeToolkit::FakeControl* FakeToolkit::find(int control) {
    const auto found = controls_.find(control);
    return found == controls_.end() ? nullptr : &found->second;
}

const FakeToolkit::FakeControl* FakeToolkit::find(int control) const {
    const auto found = controls_.find(control);
    return found == controls_.end() ? nullptr : &found->second;
}

const FakeToolkit::FakeControl* FakeToolkit::control(int number) const {
    return find(number);
}

FakeToolkit::FakeControl* FakeToolkit::makeControl(int control, ControlKind kind, int x, int y,
                                                   int width, int height) {
    if (!windows_.count(controlWindow_))
        return nullptr;
    if (controls_.count(control)) {
        std::erase_if(creationOrder_,
                      [control](const auto& entry) { return entry.second == control; });
    }
    FakeControl made;
    made.kind = kind;
    made.window = controlWindow_;
    made.rect = {x, y, width, height};
    made.font = defaultFont_;
    controls_[control] = std::move(made);
    creationOrder_.emplace_back(controlWindow_, control);
    lastWasOption_ = false;
    return &controls_[control];
}

std::vector<int> FakeToolkit::controlsInCreationOrder(int window) const {
    std::vector<int> order;
    for (const auto& [owner, control] : creationOrder_)
        if (owner == window)
            order.push_back(control);
    return order;
}

void FakeToolkit::createImageControl(int control, int x, int y, int width, int height, Image image,
                                     std::uint32_t flags) {
    if (FakeControl* made = makeControl(control, ControlKind::Image, x, y, width, height)) {
        made->flags = flags;
        made->bordered = (flags & ControlFlag::SunkenBorder) != 0;
        setValue(control, image);
    }
}

void FakeToolkit::createLabel(int control, int x, int y, int width, int height,
                              const std::string& text, std::uint32_t flags) {
    if (FakeControl* made = makeControl(control, ControlKind::Label, x, y, width, height)) {
        made->text = text;
        made->flags = flags;
    }
}

void FakeToolkit::createButton(int control, int x, int y, int width, int height,
                               const std::string& text) {
    if (FakeControl* made = makeControl(control, ControlKind::Button, x, y, width, height))
        made->text = text;
}

void FakeToolkit::createDropList(int control, int x, int y, int width, int listHeight) {
    makeControl(control, ControlKind::DropList, x, y, width, listHeight);
}

void FakeToolkit::createTextField(int control, int x, int y, int width, int height,
                                  const std::string& text, std::uint32_t flags) {
    if (FakeControl* made = makeControl(control, ControlKind::TextField, x, y, width, height)) {
        made->text = text;
        made->flags = flags;
    }
}

void FakeToolkit::createGroupBox(int control, int x, int y, int width, int height,
                                 const std::string& text) {
    if (FakeControl* made = makeControl(control, ControlKind::GroupBox, x, y, width, height))
        made->text = text;
}

void FakeToolkit::createOption(int control, int x, int y, int width, int height,
                               const std::string& text) {
    const bool continuesGroup = lastWasOption_ && lastOptionWindow_ == controlWindow_;
    if (FakeControl* made = makeControl(control, ControlKind::Option, x, y, width, height)) {
        if (!continuesGroup)
            ++optionGroup_;
        made->text = text;
        made->group = optionGroup_;
        lastWasOption_ = true;
        lastOptionWindow_ = controlWindow_;
    }
}

void FakeToolkit::createListView(int control, int x, int y, int width, int height,
                                 const std::string& firstColumnTitle, int firstColumnWidth,
                                 std::uint32_t flags) {
    if (FakeControl* made = makeControl(control, ControlKind::ListView, x, y, width, height)) {
        made->flags = flags;
        made->multiSelect = (flags & ListFlag::MultiSelect) != 0;
        made->columnTitles = {firstColumnTitle};
        made->columnWidths = {firstColumnWidth};
        lastListView_ = control;
    }
}

void FakeToolkit::setListDisplayMode(ListDisplayMode mode) {
    if (FakeControl* list = find(lastListView_))
        list->mode = mode;
}

void FakeToolkit::createLink(int control, int x, int y, int width, int height,
                             const std::string& text, Colour hoverColour) {
    if (FakeControl* made = makeControl(control, ControlKind::Link, x, y, width, height)) {
        made->text = text;
        made->linkColour = hoverColour;
    }
}

void FakeToolkit::changeSelection(FakeControl& list, int control, const std::set<int>& selected,
                                  int current) {
    if (list.selected == selected && list.current == current)
        return;
    list.selected = selected;
    list.current = current;
    raiseControl(control, ClickType::None);
}

int FakeToolkit::getValue(int control) const {
    const FakeControl* found = find(control);
    if (!found)
        return 0;
    switch (found->kind) {
    case ControlKind::ListView:
        return found->selected.empty() ? -1 : *found->selected.begin();
    case ControlKind::DropList:
        return found->selectedEntry;
    case ControlKind::Option:
        return found->checked ? 1 : 0;
    default:
        return 0;
    }
}

void FakeToolkit::setValue(int control, int value) {
    FakeControl* found = find(control);
    if (!found)
        return;
    switch (found->kind) {
    case ControlKind::ListView:
        if (value == -1) {
            changeSelection(*found, control, {}, found->current);
        } else if (found->rows.hasRow(value)) {
            std::set<int> selected = found->multiSelect ? found->selected : std::set<int>{};
            selected.insert(value);
            changeSelection(*found, control, selected, value);
        }
        break;
    case ControlKind::DropList:
        if (value >= -1 && value < static_cast<int>(found->entries.size()))
            found->selectedEntry = value;
        break;
    case ControlKind::Option:
        if (value == 1) {
            for (auto& [number, other] : controls_)
                if (other.kind == ControlKind::Option && other.group == found->group)
                    other.checked = false;
            found->checked = true;
        } else if (value == 0) {
            found->checked = false;
        }
        break;
    default:
        break;
    }
}

void FakeToolkit::setValue(int control, Image image) {
    FakeControl* found = find(control);
    if (!found || found->kind != ControlKind::Image)
        return;
    const Size size = imageSize(image);
    if (size.width > 0) {
        found->image = image;
        const int border = found->bordered ? 4 : 0;
        found->rect.width = size.width + border;
        found->rect.height = size.height + border;
    } else {
        found->image = Image{};
    }
    if (onPicture)
        onPicture(control);
}

std::string FakeToolkit::getText(int control) const {
    const FakeControl* found = find(control);
    if (!found)
        return {};
    std::string text;
    switch (found->kind) {
    case ControlKind::DropList:
        if (found->selectedEntry >= 0)
            text = found->entries[static_cast<std::size_t>(found->selectedEntry)];
        break;
    case ControlKind::Image:
    case ControlKind::ListView:
        break;
    default:
        text = found->text;
        break;
    }
    return text.substr(0, 32000);
}

void FakeToolkit::setText(int control, const std::string& text) {
    FakeControl* found = find(control);
    if (!found)
        return;
    if (found->kind == ControlKind::DropList) {
        if (text.empty()) {
            found->selectedEntry = -1;
            return;
        }
        for (std::size_t i = 0; i < found->entries.size(); ++i) {
            if (equalIgnoringAsciiCase(found->entries[i], text)) {
                found->selectedEntry = static_cast<int>(i);
                return;
            }
        }
        return;
    }
    if (found->kind != ControlKind::Image && found->kind != ControlKind::ListView)
        found->text = text;
}

void FakeToolkit::addItem(int control, int position, const std::string& text, Image image) {
    FakeControl* found = find(control);
    if (!found)
        return;
    if (found->kind == ControlKind::ListView) {
        const int at = found->rows.insert(position, text, image);
        std::set<int> selected;
        for (const int row : found->selected)
            selected.insert(row >= at ? row + 1 : row);
        found->selected = selected;
        if (found->current >= at)
            ++found->current;
    } else if (found->kind == ControlKind::DropList) {
        const int count = static_cast<int>(found->entries.size());
        const int at = (position < 0 || position > count) ? count : position;
        found->entries.insert(found->entries.begin() + at, text);
        if (found->selectedEntry >= at)
            ++found->selectedEntry;
    }
}

void FakeToolkit::removeItem(int control, int index) {
    FakeControl* found = find(control);
    if (!found)
        return;
    if (found->kind == ControlKind::ListView) {
        if (!found->rows.hasRow(index))
            return;
        found->rows.remove(index);
        std::set<int> selected;
        for (const int row : found->selected)
            if (row != index)
                selected.insert(row > index ? row - 1 : row);
        found->selected = selected;
        if (found->current == index)
            found->current = -1;
        else if (found->current > index)
            --found->current;
    } else if (found->kind == ControlKind::DropList) {
        if (index < 0 || index >= static_cast<int>(found->entries.size()))
            return;
        found->entries.erase(found->entries.begin() + index);
        if (found->selectedEntry == index)
            found->selectedEntry = -1;
        else if (found->selectedEntry > index)
            --found->selectedEntry;
    }
}

void FakeToolkit::clearItems(int control) {
    FakeControl* found = find(control);
    if (!found)
        return;
    found->rows.clear();
    found->selected.clear();
    found->current = -1;
    found->entries.clear();
    found->selectedEntry = -1;
}

int FakeToolkit::itemCount(int control) const {
    const FakeControl* found = find(control);
    if (!found)
        return 0;
    if (found->kind == ControlKind::DropList)
        return static_cast<int>(found->entries.size());
    return found->kind == ControlKind::ListView ? found->rows.rowCount() : 0;
}

int FakeToolkit::itemState(int control, int index) const {
    const FakeControl* found = find(control);
    if (!found || found->kind != ControlKind::ListView || !found->rows.hasRow(index))
        return 0;
    return found->selected.count(index) ? 1 : 0;
}

void FakeToolkit::setItemState(int control, int index, int state) {
    FakeControl* found = find(control);
    if (!found || found->kind != ControlKind::ListView || !found->rows.hasRow(index))
        return;
    std::set<int> selected = found->selected;
    int current = found->current;
    if (state & 1) {
        if (!found->multiSelect)
            selected.clear();
        selected.insert(index);
        current = index;
    } else {
        selected.erase(index);
    }
    changeSelection(*found, control, selected, current);
}

std::string FakeToolkit::itemText(int control, int index, int column) const {
    const FakeControl* found = find(control);
    if (!found)
        return {};
    if (found->kind == ControlKind::DropList) {
        if (index < 0 || index >= static_cast<int>(found->entries.size()))
            return {};
        return found->entries[static_cast<std::size_t>(index)];
    }
    return found->kind == ControlKind::ListView ? found->rows.cell(index, column) : std::string();
}

void FakeToolkit::setItemText(int control, int index, const std::string& text, int column) {
    FakeControl* found = find(control);
    if (found && found->kind == ControlKind::ListView)
        found->rows.setCell(index, column, text);
}

void FakeToolkit::addColumn(int control, int position, const std::string& title, int width) {
    FakeControl* found = find(control);
    if (!found || found->kind != ControlKind::ListView)
        return;
    const int at = std::clamp(position, 0, found->rows.columnCount());
    found->rows.insertColumn(at);
    found->columnTitles.insert(found->columnTitles.begin() + at, title);
    found->columnWidths.insert(found->columnWidths.begin() + at, width);
}

void FakeToolkit::setControlFont(int control, int font) {
    if (!fonts_.count(font))
        return;
    if (control == -1) {
        defaultFont_ = font;
        return;
    }
    if (FakeControl* found = find(control))
        found->font = font;
}

void FakeToolkit::refreshListRow(int, int) {}

Rect FakeToolkit::controlRect(int control) const {
    const FakeControl* found = find(control);
    return found ? found->rect : Rect{};
}

bool FakeToolkit::controlExists(int control) const {
    return find(control) != nullptr;
}

// ---- images -------------------------------------------------------------------

Image FakeToolkit::loadImage(int slot, const std::string& path) {
    images_.erase(slot);
    const std::optional<Size> size = readImageFileSize(path);
    if (!size || !fitsInAnImageSlot(size->width, size->height))
        return {};
    const Image handle(nextImage_++);
    images_[slot] = {handle, *size};
    return handle;
}

void FakeToolkit::freeImage(int slot) {
    images_.erase(slot);
}

Image FakeToolkit::imageOf(int slot) const {
    const auto found = images_.find(slot);
    return found == images_.end() ? Image{} : found->second.handle;
}

Size FakeToolkit::imageSize(Image image) const {
    for (const auto& [slot, loaded] : images_)
        if (!image.isNull() && loaded.handle == image)
            return loaded.size;
    return {};
}

// ---- menus and shortcuts ------------------------------------------------------

void FakeToolkit::createMenuBar(int, int window) {
    if (!windows_.count(window))
        return;
    menuItems_.clear();
    menuWindow_ = window;
    haveMenu_ = true;
    menuTitle_.clear();
}

void FakeToolkit::addMenuTitle(const std::string& text) {
    if (haveMenu_)
        menuTitle_ = text;
}

void FakeToolkit::addMenuItem(int identifier, const std::string& text) {
    if (haveMenu_)
        menuItems_[identifier] = {menuTitle_, text, false};
}

void FakeToolkit::addMenuSeparator() {}

void FakeToolkit::setMenuItemChecked(int, int identifier, bool checked) {
    const auto found = menuItems_.find(identifier);
    if (found != menuItems_.end())
        found->second.checked = checked;
}

int FakeToolkit::isMenuItemChecked(int, int identifier) const {
    const auto found = menuItems_.find(identifier);
    return found != menuItems_.end() && found->second.checked ? 1 : 0;
}

const FakeToolkit::MenuItem* FakeToolkit::menuItem(int identifier) const {
    const auto found = menuItems_.find(identifier);
    return found == menuItems_.end() ? nullptr : &found->second;
}

void FakeToolkit::addShortcut(int window, int key, int identifier) {
    const auto found = windows_.find(window);
    if (found == windows_.end())
        return;
    const int chord = KeyChord::fromShortcut(key).shortcut();
    if (!found->second.shortcuts.count(chord))
        shortcutOrder_[window].push_back(chord);
    found->second.shortcuts[chord] = identifier;
}

std::vector<int> FakeToolkit::shortcutsInOrder(int window) const {
    const auto found = shortcutOrder_.find(window);
    return found == shortcutOrder_.end() ? std::vector<int>{} : found->second;
}

// ---- services -----------------------------------------------------------------

void FakeToolkit::loadFont(int font, const std::string& face, int points, int flags) {
    fonts_[font] = {face, points, flags};
    lastFont_ = font;
}

const FakeToolkit::FontLoaded* FakeToolkit::font(int number) const {
    const auto found = fonts_.find(number);
    return found == fonts_.end() ? nullptr : &found->second;
}

int FakeToolkit::messageBox(const std::string& title, const std::string& text, int flags) {
    messageBoxes_.push_back({title, text, flags});
    if (!messageAnswers_.empty()) {
        const int answer = messageAnswers_.front();
        messageAnswers_.pop_front();
        return answer;
    }
    // Unanswered, the box is closed as Escape closes it.
    switch (flags & 0xF) {
    case 0:
        return MessageBoxButton::Ok;
    case 4:
        return MessageBoxButton::No;
    default:
        return MessageBoxButton::Cancel;
    }
}

std::string FakeToolkit::runFileDialog(bool save, const std::string& title,
                                       const std::string& defaultFile, const std::string& filter,
                                       int filterIndex) {
    fileDialogs_.push_back({save, title, defaultFile, filter, filterIndex});
    selectedFilter_ = -1;
    if (fileAnswers_.empty())
        return {};
    FileAnswer answer = fileAnswers_.front();
    fileAnswers_.pop_front();
    if (answer.path.empty())
        return {};
    const int entries = static_cast<int>(parseFileFilter(filter).size());
    selectedFilter_ = std::clamp(answer.filter, 0, std::max(0, entries - 1));
    return answer.path.substr(0, 10000);
}

std::string FakeToolkit::openFileDialog(const std::string& title, const std::string& defaultFile,
                                        const std::string& filter, int filterIndex) {
    return runFileDialog(false, title, defaultFile, filter, filterIndex);
}

std::string FakeToolkit::saveFileDialog(const std::string& title, const std::string& defaultFile,
                                        const std::string& filter, int filterIndex) {
    return runFileDialog(true, title, defaultFile, filter, filterIndex);
}

std::string FakeToolkit::folderDialog(const std::string& title, const std::string& initialFolder) {
    folderDialogs_.push_back({title, folderRequesterStart(initialFolder)});
    if (folderAnswers_.empty())
        return {};
    std::string answer = folderAnswers_.front();
    folderAnswers_.pop_front();
    return withTrailingSeparator(answer);
}

void FakeToolkit::shellOpen(const std::string& target, const std::string& parameters,
                            const std::string& folder) {
    shellOpens_.push_back({target, parameters, folder});
}

void FakeToolkit::setClipboardText(const std::string& text) {
    clipboard_ = text;
}

void FakeToolkit::sleepMs(int milliseconds) {
    if (onSleep)
        onSleep(milliseconds);
    sleeps_.push_back(milliseconds);
    if (milliseconds > 0)
        sleptMs_ += milliseconds;
}

void FakeToolkit::paintPending() {
    ++paintFlushes_;
}

void FakeToolkit::shutdown() {
    ++shutdowns_;
    images_.clear();
    controls_.clear();
    creationOrder_.clear();
    windows_.clear();
    shortcutOrder_.clear();
    menuItems_.clear();
    haveMenu_ = false;
    fonts_.clear();
    pending_.clear();
}

} // namespace visemer::testing
