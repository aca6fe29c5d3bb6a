#pragma once

#include "toolkit/ToolkitTypes.h"

#include <optional>
#include <string>

namespace visemer {

// Everything the program's logic may do with windows, controls, images and
// the desktop. Objects are addressed by numbers the program picks; a number
// that holds no object is never an error: the call does nothing and returns
// 0, the empty text or no image. Text is passed as bytes and handed back
// exactly as it was given.
class UiToolkit {
public:
    virtual ~UiToolkit() = default;

    // Windows
    virtual bool createWindow(int window, int x, int y, int width, int height, std::uint32_t flags,
                              const std::string& title, std::optional<int> owner = {}) = 0;
    virtual void destroyWindow(int window) = 0;
    virtual void useWindow(int window) = 0;
    virtual void setWindowEnabled(int window, bool enabled) = 0;
    virtual bool isWindowEnabled(int window) const = 0;
    virtual void focusWindow(int window) = 0;
    virtual void useControlList(int window) = 0;
    // Position and size of the window's inner area on the screen.
    virtual Rect windowRect(int window) const = 0;

    // Events
    virtual EventKind waitEvent() = 0;
    virtual int lastMenuId() const = 0;
    virtual int lastControl() const = 0;
    virtual int lastEventType() const = 0;
    virtual int lastEventWindow() const = 0;

    // Control creation; the control joins the window chosen by useControlList.
    virtual void createImageControl(int control, int x, int y, int width, int height, Image image,
                                    std::uint32_t flags) = 0;
    virtual void createLabel(int control, int x, int y, int width, int height,
                             const std::string& text, std::uint32_t flags = 0) = 0;
    virtual void createButton(int control, int x, int y, int width, int height,
                              const std::string& text) = 0;
    virtual void createDropList(int control, int x, int y, int width, int listHeight) = 0;
    virtual void createTextField(int control, int x, int y, int width, int height,
                                 const std::string& text, std::uint32_t flags) = 0;
    virtual void createGroupBox(int control, int x, int y, int width, int height,
                                const std::string& text) = 0;
    virtual void createOption(int control, int x, int y, int width, int height,
                              const std::string& text) = 0;
    virtual void createListView(int control, int x, int y, int width, int height,
                                const std::string& firstColumnTitle, int firstColumnWidth,
                                std::uint32_t flags) = 0;
    // Applies to the list view created last.
    virtual void setListDisplayMode(ListDisplayMode mode) = 0;
    virtual void createLink(int control, int x, int y, int width, int height,
                            const std::string& text, Colour hoverColour) = 0;

    // Generic control operations
    virtual int getValue(int control) const = 0;
    virtual void setValue(int control, int value) = 0;
    virtual void setValue(int control, Image image) = 0;
    virtual std::string getText(int control) const = 0;
    virtual void setText(int control, const std::string& text) = 0;
    virtual void addItem(int control, int position, const std::string& text, Image image = {}) = 0;
    virtual void removeItem(int control, int index) = 0;
    virtual void clearItems(int control) = 0;
    virtual int itemCount(int control) const = 0;
    virtual int itemState(int control, int index) const = 0;
    virtual void setItemState(int control, int index, int state) = 0;
    virtual std::string itemText(int control, int index, int column) const = 0;
    virtual void setItemText(int control, int index, const std::string& text, int column) = 0;
    virtual void addColumn(int control, int position, const std::string& title, int width) = 0;
    virtual void setControlFont(int control, int font) = 0;
    virtual void refreshListRow(int control, int row) = 0;
    // Where the control sits in its window's inner area.
    virtual Rect controlRect(int control) const = 0;
    virtual bool controlExists(int control) const = 0;

    // Image slots
    virtual Image loadImage(int slot, const std::string& path) = 0;
    virtual void freeImage(int slot) = 0;
    virtual Image imageOf(int slot) const = 0;
    virtual Size imageSize(Image image) const = 0;

    // Menus and shortcuts
    virtual void createMenuBar(int menu, int window) = 0;
    virtual void addMenuTitle(const std::string& text) = 0;
    virtual void addMenuItem(int identifier, const std::string& text) = 0;
    virtual void addMenuSeparator() = 0;
    virtual void setMenuItemChecked(int menu, int identifier, bool checked) = 0;
    virtual int isMenuItemChecked(int menu, int identifier) const = 0;
    // key: a key code plus the Key::Shift, Key::Ctrl and Key::Alt bits.
    virtual void addShortcut(int window, int key, int identifier) = 0;

    // Fonts, message boxes, requesters and other services
    virtual void loadFont(int font, const std::string& face, int points, int flags = 0) = 0;
    virtual int lastFont() const = 0;
    virtual int messageBox(const std::string& title, const std::string& text, int flags) = 0;
    virtual std::string openFileDialog(const std::string& title, const std::string& defaultFile,
                                       const std::string& filter, int filterIndex) = 0;
    virtual std::string saveFileDialog(const std::string& title, const std::string& defaultFile,
                                       const std::string& filter, int filterIndex) = 0;
    virtual int selectedFilter() const = 0;
    virtual std::string folderDialog(const std::string& title,
                                     const std::string& initialFolder) = 0;
    virtual void shellOpen(const std::string& target, const std::string& parameters,
                           const std::string& folder) = 0;
    virtual void setClipboardText(const std::string& text) = 0;
    virtual void sleepMs(int milliseconds) = 0;
    // Draws now whatever the window has waiting to be drawn, handling no
    // input, so a long wait that follows leaves the screen up to date.
    virtual void paintPending() = 0;

    // Releases images, windows and fonts, in that order.
    virtual void shutdown() = 0;
};

} // namespace visemer
