#include "media/gst/ClipPipeline.h"

#include <gst/gst.h>
#include <sys/stat.h>

namespace visemer::ClipPipeline {
namespace {

// playbin's flags: play the sound and nothing else.
constexpr guint kPlayAudio = 1u << 1;
constexpr guint kSoftVolume = 1u << 4;

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

void discardInto(GstElement* pipeline, const char* property) {
    if (GstElement* sink = gst_element_factory_make("fakesink", nullptr))
        g_object_set(pipeline, property, sink, nullptr);
}

} // namespace

bool startGstreamer() {
    return gst_init_check(nullptr, nullptr, nullptr) == TRUE;
}

GstElement* open(const std::string& path, Sound sound) {
    // Only a local file is ever played: a path that reads like an address
    // names a file that is not there, and fetches nothing.
    if (path.empty() || !isRegularFile(path))
        return nullptr;
    gchar* uri = gst_filename_to_uri(path.c_str(), nullptr);
    if (!uri)
        return nullptr;
    GstElement* pipeline = gst_element_factory_make("playbin", nullptr);
    if (!pipeline) {
        g_free(uri);
        return nullptr;
    }
    g_object_set(pipeline, "uri", uri, "flags", kPlayAudio | kSoftVolume, nullptr);
    g_free(uri);
    // Without the video flag playbin still makes a video sink of its own
    // choosing when the file has pictures, and some of those sinks crash
    // without a screen to draw on. Sinks that throw everything away keep a
    // picture or a video chosen as the clip harmless.
    discardInto(pipeline, "video-sink");
    discardInto(pipeline, "text-sink");
    if (sound == Sound::Discarded)
        discardInto(pipeline, "audio-sink");

    const auto timeout = static_cast<GstClockTime>(kLoadTimeout.count()) * GST_MSECOND;
    GstState state = GST_STATE_NULL;
    const bool paused =
        gst_element_set_state(pipeline, GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE &&
        gst_element_get_state(pipeline, &state, nullptr, timeout) == GST_STATE_CHANGE_SUCCESS &&
        state == GST_STATE_PAUSED;
    gint audioStreams = 0;
    if (paused)
        g_object_get(pipeline, "n-audio", &audioStreams, nullptr);
    if (!paused || audioStreams < 1) {
        gst_element_set_state(pipeline, GST_STATE_NULL);
        gst_object_unref(pipeline);
        return nullptr;
    }
    return pipeline;
}

bool loads(const std::string& path) {
    if (!startGstreamer())
        return false;
    GstElement* pipeline = open(path, Sound::Discarded);
    if (!pipeline)
        return false;
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    return true;
}

} // namespace visemer::ClipPipeline
