#pragma once

#include "project/RowSource.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace visemer {

class ProjectFile;

// The groups and keys of a project file, and the order they are written
// in. A full project (".vsq") has every group; the reduced file (".mou")
// only the frame count and the two row groups. The editor and the
// command-line tool both write through here, so their files match byte
// for byte.
namespace ProjectLayout {

inline constexpr std::string_view kFramesGroup = "Total Frames";
inline constexpr std::string_view kFramesKey = "Frames";
inline constexpr std::string_view kFpsGroup = "FPS";
inline constexpr std::string_view kFpsKey = "FPS";
inline constexpr std::string_view kTimingGroup = "Timing";
inline constexpr std::string_view kTimingKey = "Timing";
inline constexpr std::string_view kShapesGroup = "Shapes";
inline constexpr std::string_view kDelaysGroup = "Delays";
inline constexpr std::string_view kAudioGroup = "Audio";
inline constexpr std::string_view kAudioKey = "Audio";

// "Timing = 1" stands for "Browser"; any other value for "Projector".
inline constexpr std::string_view kBrowserTiming = "1";
inline constexpr std::string_view kProjectorTiming = "0";

// Open reads no more rows than a real project has.
inline constexpr int kMaxFrames = 1'000'000;

// What a full project holds besides its rows.
struct Settings {
    std::string fpsText;
    bool browser = true;
    std::string audio;
};

// Writes the whole file, already created, in the one order every writer
// keeps: the frame count, the settings, the labels, the delays and the
// clip. Without settings it is the reduced file.
void writeProject(ProjectFile& file, RowSource& rows, const Settings* settings);

} // namespace ProjectLayout
} // namespace visemer
