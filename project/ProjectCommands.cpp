#include "project/ProjectCommands.h"

#include "files/ProjectFile.h"
#include "files/TextFiles.h"
#include "ids/Controls.h"
#include "ids/MenuIds.h"
#include "media/AudioCommands.h"
#include "media/MediaPlayer.h"
#include "project/FileExtension.h"
#include "project/ProjectLayout.h"
#include "project/WalkedRows.h"
#include "text/DecimalText.h"
#include "timeline/PlaybackSettings.h"
#include "timeline/RowWalk.h"
#include "timeline/Timeline.h"
#include "toolkit/UiToolkit.h"

#include <algorithm>

namespace visemer {
namespace {

constexpr const char* kProjectFilter = "VSQ (*.vsq)|*.vsq";
constexpr const char* kReducedFilter = "Mou (*.mou)|*.mou";
// Open lets the media service settle before it loads the clip.
constexpr int kSettleBeforeLoadMs = 100;

} // namespace

void ProjectCommands::reportUnsaved(bool saved) {
    if (!saved)
        ui_.messageBox("Save", "Unable to save... ", MessageBoxFlag::Warning);
}

bool ProjectCommands::writeFullProject(const std::string& path, RowWalk& walk) {
    const bool created = project_.createProject(path);
    // The clip stored is the one last chosen with Load Audio, in this run
    // or an earlier one.
    const ProjectLayout::Settings settings{PlaybackSettings::fpsText(ui_),
                                           PlaybackSettings::browserChecked(ui_),
                                           readRelayFile(files_, kAudioRelayFile, kAudioRelay)};
    WalkedRows rows(ui_, walk);
    ProjectLayout::writeProject(project_, rows, &settings);
    return project_.closeProject() && created;
}

void ProjectCommands::resetTimeline() {
    ui_.clearItems(Control::Sequencer);
    if (media_.LoadMedia(audio_.path)) {
        media_.FreeMedia();
        audio_.path.clear();
    }
    Timeline::appendNumberedRows(ui_, Timeline::kFreshRows);
    ui_.setValue(Control::Sequencer, 0);
    ui_.setText(Control::TotalFrames, writeDecimal(Timeline::kFreshRows));
}

void ProjectCommands::New() {
    const int answer = ui_.messageBox("New", "Save your current work?", MessageBoxFlag::Question);
    if (answer == MessageBoxButton::Yes) {
        {
            RowWalk walk(ui_, timeline_);
            walk.selectFirst();
            const std::string path = ui_.saveFileDialog("Save As...", "", kReducedFilter, 0);
            if (!path.empty()) {
                const bool created = project_.createProject(path + ".mou");
                WalkedRows rows(ui_, walk);
                ProjectLayout::writeProject(project_, rows, nullptr);
                reportUnsaved(project_.closeProject() && created);
            }
        }
        resetTimeline();
    } else if (answer == MessageBoxButton::No) {
        resetTimeline();
    }
}

void ProjectCommands::readColumn(std::string_view group, int rows, int column) {
    ui_.setValue(Control::Sequencer, 0);
    project_.selectGroup(group);
    // Nothing is drawn while a command runs, so the cells are filled
    // directly; the pass ends as a walk would, with the last row current.
    for (int frame = 1; frame <= rows; ++frame)
        ui_.setItemText(Control::Sequencer, frame - 1, project_.readKey(writeDecimal(frame), ""),
                        column);
    if (rows > 0)
        timeline_.setCurrentRow(rows - 1);
}

void ProjectCommands::Open() {
    RowWalk walk(ui_, timeline_);
    walk.selectFirst();
    const std::string path = ui_.openFileDialog("Open File...", "", kProjectFilter, 0);
    if (path.empty())
        return;
    writeRelayFile(files_, kProjectRelayFile, kProjectRelay, path);
    ui_.setMenuItemChecked(kMainMenu, MenuId::SaveAs, true);
    ui_.setClipboardText(path);

    ui_.clearItems(Control::Sequencer);
    walk.forget();
    project_.openProject(path);
    project_.selectGroup(ProjectLayout::kFramesGroup);
    // No rows for a negative count, and no more than a real project has.
    const std::string frames = project_.readKey(ProjectLayout::kFramesKey, "");
    const int rows = std::clamp(readDecimal(frames), 0, frameLimit_);
    Timeline::appendNumberedRows(ui_, rows);

    project_.selectGroup(ProjectLayout::kFpsGroup);
    ui_.setText(Control::FpsList, project_.readKey(ProjectLayout::kFpsKey, ""));
    project_.selectGroup(ProjectLayout::kTimingGroup);
    if (project_.readKey(ProjectLayout::kTimingKey, "") == ProjectLayout::kBrowserTiming)
        ui_.setValue(Control::Browser, 1);
    else
        ui_.setValue(Control::Projector, 1);

    readColumn(ProjectLayout::kShapesGroup, rows, Timeline::Label);
    readColumn(ProjectLayout::kDelaysGroup, rows, Timeline::Delay);
    if (rows < readDecimal(frames))
        ui_.messageBox("Open",
                       "Only the first " + writeDecimal(frameLimit_) + " frames were opened.",
                       MessageBoxFlag::Warning);
    ui_.setValue(Control::Sequencer, 0);
    ui_.setText(Control::TotalFrames, writeDecimal(ui_.itemCount(Control::Sequencer)));

    project_.selectGroup(ProjectLayout::kAudioGroup);
    audio_.path = project_.readKey(ProjectLayout::kAudioKey, "");
    ui_.sleepMs(kSettleBeforeLoadMs);
    media_.LoadMedia(audio_.path);
    if (!media_.LoadMedia(audio_.path))
        ui_.messageBox("No Audio", "Unable to load... ", MessageBoxFlag::Warning);
    project_.closeProject();
}

void ProjectCommands::Save() {
    RowWalk walk(ui_, timeline_);
    if (ui_.isMenuItemChecked(kMainMenu, MenuId::SaveAs) == 0) {
        ui_.messageBox("Save", "No file exist, please use ''Save As...'' first.",
                       MessageBoxFlag::Warning);
        return;
    }
    walk.selectFirst();
    std::string path = readRelayFile(files_, kProjectRelayFile, kProjectRelay);
    if (path.empty())
        return;
    if (ui_.selectedFilter() == 0 && extensionPart(path).empty())
        path += ".vsq";
    reportUnsaved(writeFullProject(path, walk));
}

void ProjectCommands::SaveAs() {
    RowWalk walk(ui_, timeline_);
    walk.selectFirst();
    std::string path = ui_.saveFileDialog("Save As...", "", kProjectFilter, 0);
    if (path.empty())
        return;
    if (ui_.selectedFilter() == 0 && extensionPart(path).empty())
        path += ".vsq";
    ui_.setMenuItemChecked(kMainMenu, MenuId::SaveAs, true);
    writeRelayFile(files_, kProjectRelayFile, kProjectRelay, path);
    reportUnsaved(writeFullProject(path, walk));
}

} // namespace visemer
