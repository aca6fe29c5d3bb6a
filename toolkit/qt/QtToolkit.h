#pragma once

#include "toolkit/KeyChord.h"
#include "toolkit/PendingEvents.h"
#include "toolkit/UiToolkit.h"
#include "toolkit/qt/EventSink.h"
#include "toolkit/qt/QtImages.h"

#include <QFont>
#include <QMenuBar>
#include <QObject>
#include <QPointer>
#include <map>
#include <memory>
#include <vector>

class QAction;
class QKeyEvent;
class QMenu;
class QWidget;

namespace visemer {

class QtControl;
class QtWindow;

// The toolkit over Qt Widgets. Needs a QApplication that outlives it.
class QtToolkit final : public QObject, public UiToolkit, private EventSink {
public:
    QtToolkit();
    ~QtToolkit() override;
    QtToolkit(const QtToolkit&) = delete;
    QtToolkit& operator=(const QtToolkit&) = delete;

    bool createWindow(int window, int x, int y, int width, int height, std::uint32_t flags,
                      const std::string& title, std::optional<int> owner = {}) override;
    void destroyWindow(int window) override;
    void useWindow(int window) override;
    void setWindowEnabled(int window, bool enabled) override;
    bool isWindowEnabled(int window) const override;
    void focusWindow(int window) override;
    void useControlList(int window) override;
    Rect windowRect(int window) const override;

    EventKind waitEvent() override;
    int lastMenuId() const override { return state_.lastNumber(); }
    int lastControl() const override { return state_.lastNumber(); }
    int lastEventType() const override { return state_.lastType(); }
    int lastEventWindow() const override { return state_.lastWindow(); }

    void createImageControl(int control, int x, int y, int width, int height, Image image,
                            std::uint32_t flags) override;
    void createLabel(int control, int x, int y, int width, int height, const std::string& text,
                     std::uint32_t flags = 0) override;
    void createButton(int control, int x, int y, int width, int height,
                      const std::string& text) override;
    void createDropList(int control, int x, int y, int width, int listHeight) override;
    void createTextField(int control, int x, int y, int width, int height, const std::string& text,
                         std::uint32_t flags) override;
    void createGroupBox(int control, int x, int y, int width, int height,
                        const std::string& text) override;
    void createOption(int control, int x, int y, int width, int height,
                      const std::string& text) override;
    void createListView(int control, int x, int y, int width, int height,
                        const std::string& firstColumnTitle, int firstColumnWidth,
                        std::uint32_t flags) override;
    void setListDisplayMode(ListDisplayMode mode) override;
    void createLink(int control, int x, int y, int width, int height, const std::string& text,
                    Colour hoverColour) override;

    int getValue(int control) const override;
    void setValue(int control, int value) override;
    void setValue(int control, Image image) override;
    std::string getText(int control) const override;
    void setText(int control, const std::string& text) override;
    void addItem(int control, int position, const std::string& text, Image image = {}) override;
    void removeItem(int control, int index) override;
    void clearItems(int control) override;
    int itemCount(int control) const override;
    int itemState(int control, int index) const override;
    void setItemState(int control, int index, int state) override;
    std::string itemText(int control, int index, int column) const override;
    void setItemText(int control, int index, const std::string& text, int column) override;
    void addColumn(int control, int position, const std::string& title, int width) override;
    void setControlFont(int control, int font) override;
    void refreshListRow(int control, int row) override;
    Rect controlRect(int control) const override;
    bool controlExists(int control) const override;

    Image loadImage(int slot, const std::string& path) override;
    void freeImage(int slot) override;
    Image imageOf(int slot) const override;
    Size imageSize(Image image) const override;

    void createMenuBar(int menu, int window) override;
    void addMenuTitle(const std::string& text) override;
    void addMenuItem(int identifier, const std::string& text) override;
    void addMenuSeparator() override;
    void setMenuItemChecked(int menu, int identifier, bool checked) override;
    int isMenuItemChecked(int menu, int identifier) const override;
    void addShortcut(int window, int key, int identifier) override;

    void loadFont(int font, const std::string& face, int points, int flags = 0) override;
    int lastFont() const override { return lastFont_; }
    int messageBox(const std::string& title, const std::string& text, int flags) override;
    std::string openFileDialog(const std::string& title, const std::string& defaultFile,
                               const std::string& filter, int filterIndex) override;
    std::string saveFileDialog(const std::string& title, const std::string& defaultFile,
                               const std::string& filter, int filterIndex) override;
    int selectedFilter() const override { return selectedFilter_; }
    std::string folderDialog(const std::string& title, const std::string& initialFolder) override;
    void shellOpen(const std::string& target, const std::string& parameters,
                   const std::string& folder) override;
    void setClipboardText(const std::string& text) override;
    void sleepMs(int milliseconds) override;
    void paintPending() override;

    void shutdown() override;

    // For tests that drive the real widgets.
    bool hasPendingEvent() const { return !pending_.empty(); }
    QWidget* windowWidget(int window) const;
    QWidget* controlWidget(int control) const;
    // The control holding the keyboard focus in a window, -1 if none.
    int focusedControl(int window) const;
    int windowNumberOfControl(int control) const {
        const auto found = controls_.find(control);
        return found == controls_.end() ? -1 : found->second.window;
    }
    void focusControl(int control);
    QAction* menuAction(int menu, int identifier) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Window {
        std::unique_ptr<QtWindow> widget;
        std::optional<int> owner;
        std::map<int, int> shortcuts; // KeyChord::shortcut() -> identifier
    };
    struct Menu {
        QPointer<QMenuBar> bar;
        int window = -1;
        std::map<int, QAction*> items;
        std::map<int, bool> checked;
    };
    struct Control {
        QtControl* control = nullptr; // owned by its window's widget tree
        int window = -1;
    };

    void controlEvent(int control, int type) override;
    void menuEvent(int identifier, int window) override;
    void closeEvent(int window) override;

    EventSink& sink() { return *this; }
    QtControl* find(int control) const;
    QWidget* controlParent() const;
    void place(int control, QtControl* made, int x, int y, int width, int height);
    int windowNumberOf(const QWidget* widget) const;
    QWidget* dialogParent();
    void showWaitingWindows();
    std::string runFileDialog(bool save, const std::string& title, const std::string& defaultFile,
                              const std::string& filter, int filterIndex);
    bool routeShortcut(QObject* receiver, const QKeyEvent& key, bool override);
    bool isFocusKey(QObject* receiver, const QKeyEvent& key) const;
    void moveFocus(QObject* receiver, const QKeyEvent& key);

    std::map<int, Window> windows_;
    std::vector<int> awaitingShow_; // in the order they were made
    std::map<int, Control> controls_;
    std::vector<int> creationOrder_; // controls, oldest first: the Tab order
    std::map<int, Menu> menus_;
    std::map<int, QFont> fonts_;
    QtImages images_;
    PendingEvents pending_;
    EventState state_;

    int currentWindow_ = -1;
    int controlWindow_ = -1;
    int currentMenu_ = -1;
    QMenu* currentDropDown_ = nullptr;
    int lastListView_ = -1;
    int lastFont_ = 0;
    std::optional<QFont> defaultFont_;
    int selectedFilter_ = -1;
    // Option buttons created one after another share a group.
    int optionGroup_ = 0;
    int lastOptionWindow_ = -1;
    bool lastWasOption_ = false;
};

} // namespace visemer
