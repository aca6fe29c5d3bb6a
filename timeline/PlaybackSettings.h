#pragma once

#include "timeline/PlaybackRate.h"

#include <string>

namespace visemer {

class UiToolkit;

// The two playback settings live in their controls: the FPS list and the
// "Browser"/"Projector" options. The preview and the project commands read
// them here.
namespace PlaybackSettings {

// The selected FPS entry's text, empty when none is selected.
std::string fpsText(const UiToolkit& ui);
int framesPerSecond(const UiToolkit& ui);
// -2 frames per second with "Browser" checked, 0 otherwise.
int timingAdjustment(const UiToolkit& ui);
bool browserChecked(const UiToolkit& ui);

} // namespace PlaybackSettings
} // namespace visemer
