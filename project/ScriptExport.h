#pragma once

namespace visemer {

class TextFiles;
class Timeline;
class UiToolkit;

// "Export Script...": writes the frames as the clip-event script that
// counts each frame's delay down and then jumps the mouth clip to its
// drawing.
void ExportScript(UiToolkit& ui, Timeline& timeline, TextFiles& files);

} // namespace visemer
