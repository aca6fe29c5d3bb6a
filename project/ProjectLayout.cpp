#include "project/ProjectLayout.h"

#include "files/ProjectFile.h"
#include "text/DecimalText.h"

namespace visemer::ProjectLayout {

void writeFrameCount(ProjectFile& file, std::int64_t rows) {
    file.selectGroup(kFramesGroup);
    file.writeKey(kFramesKey, writeDecimal(rows));
}

void writePlayback(ProjectFile& file, std::string_view fpsText, bool browser) {
    file.selectGroup(kFpsGroup);
    file.writeKey(kFpsKey, fpsText);
    file.selectGroup(kTimingGroup);
    file.writeKey(kTimingKey, browser ? kBrowserTiming : kProjectorTiming);
}

void writeRow(ProjectFile& file, std::int64_t row, std::string_view text) {
    file.writeKey(writeDecimal(row + 1), text);
}

void writeAudio(ProjectFile& file, std::string_view path) {
    file.selectGroup(kAudioGroup);
    file.writeKey(kAudioKey, path);
}

} // namespace visemer::ProjectLayout
