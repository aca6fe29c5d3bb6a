#include "project/ProjectLayout.h"

#include "files/ProjectFile.h"
#include "text/DecimalText.h"

namespace visemer::ProjectLayout {
namespace {

// Row 0 is written under the key "1".
void writeColumn(ProjectFile& file, std::string_view group, RowSource& rows,
                 RowSource::Column column) {
    file.selectGroup(group);
    rows.eachCell(column, [&](std::int64_t row, const std::string& text) {
        file.writeKey(writeDecimal(row + 1), text);
    });
}

} // namespace

void writeProject(ProjectFile& file, RowSource& rows, const Settings* settings) {
    file.selectGroup(kFramesGroup);
    file.writeKey(kFramesKey, writeDecimal(rows.rows()));
    if (settings) {
        file.selectGroup(kFpsGroup);
        file.writeKey(kFpsKey, settings->fpsText);
        file.selectGroup(kTimingGroup);
        file.writeKey(kTimingKey, settings->browser ? kBrowserTiming : kProjectorTiming);
    }
    writeColumn(file, kShapesGroup, rows, RowSource::Column::Label);
    writeColumn(file, kDelaysGroup, rows, RowSource::Column::Delay);
    if (settings) {
        file.selectGroup(kAudioGroup);
        file.writeKey(kAudioKey, settings->audio);
    }
}

} // namespace visemer::ProjectLayout
