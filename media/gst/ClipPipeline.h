#pragma once

#include <chrono>
#include <string>

typedef struct _GstElement GstElement;

namespace visemer {

// The one rule for whether a file is a voice clip: a local regular file
// that GStreamer's playbin opens, within a bounded time, with at least one
// stream of sound. Pictures and video are never shown, so a picture or a
// video chosen as the clip is harmless; a video's sound plays like any
// clip. Needs no window and no media player.
namespace ClipPipeline {

inline constexpr std::chrono::milliseconds kLoadTimeout{5000};

enum class Sound { ToSpeakers, Discarded };

// Starts GStreamer if it is not running; false if it cannot start.
bool startGstreamer();

// A pipeline paused at the clip's start, owned by the caller; null when the
// path is not a clip. GStreamer must have started.
GstElement* open(const std::string& path, Sound sound);

// Whether the editor would load the clip: opened with its sound discarded,
// so asking opens no sound card.
bool loads(const std::string& path);

} // namespace ClipPipeline
} // namespace visemer
