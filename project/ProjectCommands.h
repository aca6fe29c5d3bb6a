#pragma once

#include "project/ProjectLayout.h"

#include <string>
#include <string_view>

namespace visemer {

class MediaPlayer;
class ProjectFile;
class RowWalk;
class TextFiles;
class Timeline;
class UiToolkit;
struct AudioPath;

// New, Open, Save and Save As. The current project's path lives in the
// relay file ~DIR, and the mark on "Save As..." says whether this run has
// established one.
class ProjectCommands {
public:
    // Far more frames than any animation has (nine hours at 30 fps); an
    // opened file asking for more gets this many.
    static constexpr int kMaxFrames = ProjectLayout::kMaxFrames;

    ProjectCommands(UiToolkit& ui, MediaPlayer& media, Timeline& timeline, AudioPath& audio,
                    TextFiles& files, ProjectFile& project)
        : ui_(ui), media_(media), timeline_(timeline), audio_(audio), files_(files),
          project_(project) {}

    // Lowers the frame limit, so tests can reach it with small files.
    void setFrameLimit(int frames) { frameLimit_ = frames; }

    void New();
    void Open();
    void Save();
    void SaveAs();

private:
    // False when the file could not be written in full.
    bool writeFullProject(const std::string& path, RowWalk& walk);
    void reportUnsaved(bool saved);
    void resetTimeline();
    void readColumn(std::string_view group, int rows, int column);

    UiToolkit& ui_;
    MediaPlayer& media_;
    Timeline& timeline_;
    AudioPath& audio_;
    TextFiles& files_;
    ProjectFile& project_;
    int frameLimit_ = kMaxFrames;
};

} // namespace visemer
