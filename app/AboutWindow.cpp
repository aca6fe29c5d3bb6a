#include "app/AboutWindow.h"

#include "ids/Controls.h"
#include "shapes/ShapeSet.h"
#include "toolkit/UiToolkit.h"

#include <string>

namespace visemer {
namespace {

constexpr Colour kLinkBlue{0, 0, 255};
constexpr int kTitlePoints = 10;

} // namespace

void AboutWindow::open() {
    constexpr std::uint32_t kFlags =
        WindowFlag::CaptionBar | WindowFlag::SystemMenu | WindowFlag::CentreOnActive;
    if (!ui_.createWindow(Window::About, 0, 0, 320, 115, kFlags, "About - Visemer", Window::Main))
        return;
    ui_.useControlList(Window::About);
    ui_.setWindowEnabled(Window::Main, false);
    ui_.createImageControl(Control::AboutPicture, 5, 5, 80, 80, ui_.imageOf(ShapeSet::kAboutSlot),
                           ControlFlag::SunkenBorder);
    ui_.loadFont(Font::AboutTitle, "Arial", kTitlePoints, FontFlag::Bold | FontFlag::Underline);
    ui_.createLabel(Control::AboutTitle, 115, 5, 200, 20, "Visemer v1.02", ControlFlag::Centred);
    ui_.setControlFont(Control::AboutTitle, ui_.lastFont());
    ui_.createLabel(Control::AboutCredit, 115, 25, 200, 30, "Made by the Visemer developers",
                    ControlFlag::Centred);
    ui_.createLink(Control::MakerLink, 167, 40, 200, 20, "visemer.example", kLinkBlue);
    ui_.createLabel(Control::ScriptCredit, 115, 60, 200, 30, "Clip script by the Visemer team",
                    ControlFlag::Centred);
    ui_.createLink(Control::ScriptAuthorLink, 157, 75, 200, 20, "visemer.example/script",
                   kLinkBlue);
    ui_.createLabel(Control::AboutNotice, 190, 95, 200, 30, "Free software, 2026");
}

void AboutWindow::close() {
    ui_.destroyWindow(Window::About);
    ui_.useWindow(Window::Main);
    ui_.setWindowEnabled(Window::Main, true);
    ui_.focusWindow(Window::Main);
}

void AboutWindow::followMakerLink() {
    ui_.shellOpen(std::string(kMakerAddress), "", "");
}

void AboutWindow::followScriptAuthorLink() {
    ui_.shellOpen(std::string(kScriptAuthorAddress), "", "");
}

void OpenHelp(UiToolkit& ui) {
    ui.shellOpen("Help.chm", "", "");
}

} // namespace visemer
