#pragma once

#include <string_view>

namespace visemer {

class UiToolkit;

// The About window: the program's picture, name and version, two credit
// lines with a link each, and a notice. While it is open the main window
// takes no input, yet the one event loop serves both.
class AboutWindow {
public:
    static constexpr std::string_view kMakerAddress = "https://visemer.example/";
    static constexpr std::string_view kScriptAuthorAddress = "https://visemer.example/script/";

    explicit AboutWindow(UiToolkit& ui) : ui_(ui) {}

    void open();
    void close();
    void followMakerLink();
    void followScriptAuthorLink();

private:
    UiToolkit& ui_;
};

// Hands the help file in the working folder to the desktop.
void OpenHelp(UiToolkit& ui);

} // namespace visemer
