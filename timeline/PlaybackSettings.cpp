#include "timeline/PlaybackSettings.h"

#include "ids/Controls.h"
#include "text/DecimalText.h"
#include "toolkit/UiToolkit.h"

namespace visemer::PlaybackSettings {

std::string fpsText(const UiToolkit& ui) {
    return ui.getText(Control::FpsList);
}

int framesPerSecond(const UiToolkit& ui) {
    return readDecimal(fpsText(ui));
}

bool browserChecked(const UiToolkit& ui) {
    return ui.getValue(Control::Browser) == 1;
}

int timingAdjustment(const UiToolkit& ui) {
    return browserChecked(ui) ? PlaybackRate::kBrowserAdjustment
                              : PlaybackRate::kProjectorAdjustment;
}

} // namespace visemer::PlaybackSettings
