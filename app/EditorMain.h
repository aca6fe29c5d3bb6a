#pragma once

#include <functional>

class QApplication;

namespace visemer {

// The editor's process: the Qt application, the toolkit, the media player
// and the program. A caller may look at the application before the event
// loop starts.
int runEditor(int argc, char** argv, const std::function<void(QApplication&)>& beforeStart = {});

} // namespace visemer
