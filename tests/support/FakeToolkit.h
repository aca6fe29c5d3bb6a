#pragma once

#include "toolkit/ListCells.h"
#include "toolkit/PendingEvents.h"
#include "toolkit/UiToolkit.h"

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace visemer::testing {

// The toolkit in memory, for tests. It keeps windows, controls, list rows
// and selections as the Qt toolkit does, reports program-made selection
// changes the same way, and takes its user input and requester answers from
// a script the test writes. Nothing sleeps and nothing is shown.
class FakeToolkit final : public UiToolkit {
public:
    enum class ControlKind {
        Image,
        Label,
        Button,
        DropList,
        TextField,
        GroupBox,
        Option,
        ListView,
        Link
    };

    struct FakeControl {
        ControlKind kind = ControlKind::Label;
        int window = -1;
        Rect rect;
        std::string text;
        std::uint32_t flags = 0;
        int font = 0;
        // image control
        Image image;
        bool bordered = false;
        // option button
        int group = 0;
        bool checked = false;
        // drop-down list
        std::vector<std::string> entries;
        int selectedEntry = -1;
        // list view
        ListCells rows;
        std::vector<std::string> columnTitles;
        std::vector<int> columnWidths;
        std::set<int> selected;
        int current = -1;
        bool multiSelect = false;
        ListDisplayMode mode = ListDisplayMode::Report;
        Colour linkColour;
    };

    struct FakeWindow {
        Rect rect;
        std::uint32_t flags = 0;
        std::string title;
        std::optional<int> owner;
        bool enabled = true;
        std::map<int, int> shortcuts;
    };

    struct MenuItem {
        std::string title; // of the drop-down menu holding it
        std::string text;
        bool checked = false;
    };

    struct MessageBoxShown {
        std::string title;
        std::string text;
        int flags = 0;
    };

    struct FileDialogShown {
        bool save = false;
        std::string title;
        std::string defaultFile;
        std::string filter;
        int filterIndex = 0;
    };

    struct FolderDialogShown {
        std::string title;
        std::string initialFolder;
    };

    struct ShellOpened {
        std::string target;
        std::string parameters;
        std::string folder;
    };

    struct FontLoaded {
        std::string face;
        int points = 0;
        int flags = 0;
    };

    static constexpr Size kScreen{1024, 768};

    // ---- UiToolkit ----
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

    // ---- the user's input, taken one item per wait ----
    void pressKey(int key);
    void chooseMenu(int identifier);
    void click(int control, int type = ClickType::Left);
    void clickRow(int control, int row, int type = ClickType::Left);
    void ctrlClickRow(int control, int row);
    void clickListBackground(int control, int type = ClickType::Left);
    void pickEntry(int control, int index);
    void clickCloseBox(int window);
    void moveWindow(int window);
    // Gives a control the keyboard focus, as a click on it would; a list
    // gaining the focus reports nothing.
    void focusControl(int control);
    int focusedControl(int window) const;
    // Any other scripted happening, run as the platform would run it.
    void input(std::function<void()> happening);
    // The input the script adds arrives in one batch at a single wait, as
    // input made during a long command does.
    void batch(const std::function<void()>& script);
    std::size_t inputLeft() const { return input_.size(); }

    // When the script has run out, a wait answers as if the user had closed
    // the main window, so a loop under test always ends; this counts those.
    int dryWaits() const { return dryWaits_; }
    bool hasPendingEvent() const { return !pending_.empty(); }

    // Runs at every sleepMs, before the time passes: lets a test look at
    // the window in the middle of a long command.
    std::function<void(int)> onSleep;
    // Runs whenever an image control is given a picture: lets a test stand
    // for the time a real window takes to paint it.
    std::function<void(int control)> onPicture;

    // Makes every createWindow from now on fail, as a desktop out of
    // resources would.
    void refuseWindows() { refuseWindows_ = true; }

    // ---- answers for modal requesters, used in order ----
    void answerMessageBox(int button) { messageAnswers_.push_back(button); }
    void answerFileDialog(const std::string& path, int filter = 0) {
        fileAnswers_.push_back({path, filter});
    }
    void answerFolderDialog(const std::string& folder) { folderAnswers_.push_back(folder); }

    // ---- what happened ----
    const std::vector<MessageBoxShown>& messageBoxes() const { return messageBoxes_; }
    const std::vector<FileDialogShown>& fileDialogs() const { return fileDialogs_; }
    const std::vector<FolderDialogShown>& folderDialogs() const { return folderDialogs_; }
    const std::vector<ShellOpened>& shellOpens() const { return shellOpens_; }
    const std::vector<int>& sleeps() const { return sleeps_; }
    long long sleptMs() const { return sleptMs_; }
    int paintFlushes() const { return paintFlushes_; }
    const std::string& clipboard() const { return clipboard_; }
    int shutdowns() const { return shutdowns_; }

    const FakeWindow* window(int number) const;
    const FakeControl* control(int number) const;
    const MenuItem* menuItem(int identifier) const;
    const FontLoaded* font(int number) const;
    int activeWindow() const { return activeWindow_; }
    int currentWindow() const { return currentWindow_; }
    std::vector<int> controlsInCreationOrder(int window) const;
    std::vector<int> shortcutsInOrder(int window) const; // keys, in the order added

private:
    struct LoadedImage {
        Image handle;
        Size size;
    };
    struct FileAnswer {
        std::string path;
        int filter = 0;
    };

    FakeControl* find(int control);
    const FakeControl* find(int control) const;
    FakeControl* makeControl(int control, ControlKind kind, int x, int y, int width, int height);
    bool windowTakesInput(int window) const;
    void raiseControl(int control, int type);
    // Selection changes are reported when the selection or the focused row moves.
    void changeSelection(FakeControl& list, int control, const std::set<int>& selected,
                         int current);
    void moveFocus(bool backwards);
    std::string runFileDialog(bool save, const std::string& title, const std::string& defaultFile,
                              const std::string& filter, int filterIndex);

    std::map<int, FakeWindow> windows_;
    std::map<int, FakeControl> controls_;
    std::vector<std::pair<int, int>> creationOrder_; // (window, control)
    std::map<int, std::vector<int>> shortcutOrder_;
    std::map<int, LoadedImage> images_;
    std::uint64_t nextImage_ = 1;
    std::map<int, FontLoaded> fonts_;
    int lastFont_ = 0;
    int defaultFont_ = 0;

    std::map<int, MenuItem> menuItems_;
    int menuWindow_ = -1;
    bool haveMenu_ = false;
    std::string menuTitle_;

    PendingEvents pending_;
    EventState state_;
    struct Happening {
        std::function<void()> happening;
        bool batched = false; // arrives with the one before it
    };
    std::deque<Happening> input_;
    bool batching_ = false;
    bool batchStarted_ = false;
    int dryWaits_ = 0;

    int currentWindow_ = -1;
    int controlWindow_ = -1;
    int activeWindow_ = -1;
    int focusedControl_ = -1;
    int lastListView_ = -1;
    int optionGroup_ = 0;
    bool lastWasOption_ = false;
    int lastOptionWindow_ = -1;

    std::deque<int> messageAnswers_;
    std::deque<FileAnswer> fileAnswers_;
    std::deque<std::string> folderAnswers_;
    std::vector<MessageBoxShown> messageBoxes_;
    std::vector<FileDialogShown> fileDialogs_;
    std::vector<FolderDialogShown> folderDialogs_;
    std::vector<ShellOpened> shellOpens_;
    std::vector<int> sleeps_;
    long long sleptMs_ = 0;
    int paintFlushes_ = 0;
    std::string clipboard_;
    int selectedFilter_ = -1;
    int shutdowns_ = 0;
    bool refuseWindows_ = false;
};

} // namespace visemer::testing
