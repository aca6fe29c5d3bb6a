#include "shapes/ShapeCommands.h"

#include "ids/Controls.h"
#include "shapes/ShapeSet.h"
#include "toolkit/UiToolkit.h"

namespace visemer {
namespace {

// The folder requester starts at the top of the file system.
constexpr const char* kStartFolder = "/";

void showFirstShape(UiToolkit& ui) {
    ui.setValue(Control::Preview, ui.imageOf(0));
}

} // namespace

void LoadImages(UiToolkit& ui) {
    const std::string folder = ui.folderDialog("Select Image Folder", kStartFolder);
    if (folder.empty()) {
        ui.messageBox("Canceled", "Canceled, last set of images will be used.",
                      MessageBoxFlag::Warning);
        return;
    }
    ShapeSet::loadBitmapsFrom(ui, folder);
    showFirstShape(ui);
}

void DefaultImages(UiToolkit& ui) {
    ShapeSet::loadBitmapsFrom(ui, std::string(ShapeSet::kDefaultFolder));
    showFirstShape(ui);
}

} // namespace visemer
