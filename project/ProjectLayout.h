#pragma once

#include <cstdint>
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

void writeFrameCount(ProjectFile& file, std::int64_t rows);
void writePlayback(ProjectFile& file, std::string_view fpsText, bool browser);
// Row 0 is written under the key "1".
void writeRow(ProjectFile& file, std::int64_t row, std::string_view text);
void writeAudio(ProjectFile& file, std::string_view path);

} // namespace ProjectLayout
} // namespace visemer
