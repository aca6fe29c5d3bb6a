#include "exchange/ProjectDocument.h"

#include "files/ProjectFile.h"
#include "files/TextFiles.h"
#include "project/ClipScript.h"
#include "project/ProjectLayout.h"
#include "text/DecimalText.h"

#include <algorithm>
#include <fcntl.h>
#include <unistd.h>

namespace visemer {
namespace {

bool readable(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    char probe = 0;
    const bool ok = ::read(descriptor, &probe, 1) >= 0; // a folder fails here
    ::close(descriptor);
    return ok;
}

std::optional<std::string> keyOf(ProjectFile& file, std::string_view group, std::string_view key) {
    // A fallback no project value holds (a control byte) tells a missing
    // key from an empty one.
    if (file.selectGroup(group) != 1)
        return std::nullopt;
    const std::string first = file.readKey(key, "\x01");
    if (first != "\x01")
        return first;
    return std::nullopt;
}

// A timing's rows as the writers read them.
class TimingRows final : public RowSource {
public:
    explicit TimingRows(const Timing& timing) : timing_(timing) {}
    std::int64_t rows() const override { return static_cast<std::int64_t>(timing_.rows.size()); }
    void eachCell(Column column,
                  const std::function<void(std::int64_t, const std::string&)>& visit) override {
        for (std::size_t row = 0; row < timing_.rows.size(); ++row)
            visit(static_cast<std::int64_t>(row),
                  column == Column::Label ? timing_.rows[row].label : timing_.rows[row].delay);
    }

private:
    const Timing& timing_;
};

} // namespace

std::optional<ProjectReading> readProject(const std::string& path) {
    if (!readable(path))
        return std::nullopt;
    ProjectFile file;
    if (!file.openProject(path))
        return std::nullopt;
    ProjectReading reading;
    const auto frames = keyOf(file, ProjectLayout::kFramesGroup, ProjectLayout::kFramesKey);
    reading.hasFrames = file.selectGroup(ProjectLayout::kFramesGroup) == 1;
    reading.framesText = frames.value_or("");
    reading.framesAsked = readDecimal(reading.framesText);
    const int rows = static_cast<int>(
        std::clamp<std::int64_t>(reading.framesAsked, 0, ProjectLayout::kMaxFrames));

    Timing& timing = reading.timing;
    const auto fps = keyOf(file, ProjectLayout::kFpsGroup, ProjectLayout::kFpsKey);
    const auto timingText = keyOf(file, ProjectLayout::kTimingGroup, ProjectLayout::kTimingKey);
    const auto audio = keyOf(file, ProjectLayout::kAudioGroup, ProjectLayout::kAudioKey);
    reading.hasFps = fps.has_value();
    reading.hasTiming = timingText.has_value();
    reading.hasAudio = audio.has_value();
    reading.timingText = timingText.value_or("");
    timing.fps = fps.value_or("");
    timing.browser = reading.timingText == ProjectLayout::kBrowserTiming;
    timing.audio = audio.value_or("");
    timing.reduced = !fps && !timingText && !audio;

    timing.rows.resize(static_cast<std::size_t>(rows));
    file.selectGroup(ProjectLayout::kShapesGroup);
    for (int row = 0; row < rows; ++row)
        timing.rows[static_cast<std::size_t>(row)].label = file.readKey(writeDecimal(row + 1), "");
    const std::string next = writeDecimal(rows + 1);
    reading.rowsBeyondFrames = file.readKey(next, "\x01") != "\x01";
    file.selectGroup(ProjectLayout::kDelaysGroup);
    for (int row = 0; row < rows; ++row)
        timing.rows[static_cast<std::size_t>(row)].delay = file.readKey(writeDecimal(row + 1), "");
    reading.rowsBeyondFrames = reading.rowsBeyondFrames || file.readKey(next, "\x01") != "\x01";
    file.closeProject();
    return reading;
}

bool writeProject(const std::string& path, const Timing& timing) {
    ProjectFile file;
    const bool created = file.createProject(path);
    TimingRows rows(timing);
    const ProjectLayout::Settings settings{timing.fps, timing.browser, timing.audio};
    ProjectLayout::writeProject(file, rows, timing.reduced ? nullptr : &settings);
    return file.closeProject() && created;
}

std::string projectText(const Timing& timing) {
    ProjectFile file;
    file.createText();
    TimingRows rows(timing);
    const ProjectLayout::Settings settings{timing.fps, timing.browser, timing.audio};
    ProjectLayout::writeProject(file, rows, timing.reduced ? nullptr : &settings);
    return file.takeText();
}

bool writeScript(const std::string& path, const Timing& timing) {
    constexpr int kScriptFile = 0;
    TextFiles files;
    const bool created = files.createFile(kScriptFile, path);
    TimingRows rows(timing);
    ClipScript::write(files, rows);
    return files.closeFile(kScriptFile) && created;
}

} // namespace visemer
