#include "media/gst/GstMediaPlayer.h"

#include <gst/gst.h>
#include <string_view>
#include <sys/stat.h>

namespace visemer {
namespace {

// playbin's flags: play the sound and nothing else, so the pictures of a
// video chosen as the clip are never shown.
constexpr guint kPlayAudio = 1u << 1;
constexpr guint kSoftVolume = 1u << 4;

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace

GstMediaPlayer::~GstMediaPlayer() {
    FreeMedia();
}

void GstMediaPlayer::InitMedia() {
    if (initialised_.valid())
        return;
    initialised_ = std::async(std::launch::async, [] {
                       return gst_init_check(nullptr, nullptr, nullptr) == TRUE;
                   }).share();
}

bool GstMediaPlayer::ready() {
    if (!initialised_.valid())
        InitMedia();
    return initialised_.get();
}

bool GstMediaPlayer::LoadMedia(const std::string& path) {
    FreeMedia();
    // Only a local file is ever played: a path that reads like an address
    // names a file that is not there, and fetches nothing.
    if (path.empty() || !isRegularFile(path) || !ready())
        return false;

    gchar* uri = gst_filename_to_uri(path.c_str(), nullptr);
    if (!uri)
        return false;
    GstElement* pipeline = gst_element_factory_make("playbin", nullptr);
    if (!pipeline) {
        g_free(uri);
        return false;
    }
    g_object_set(pipeline, "uri", uri, "flags", kPlayAudio | kSoftVolume, nullptr);
    g_free(uri);
    // Without the video flag playbin still makes a video sink of its own
    // choosing when the file has pictures, and some of those sinks crash
    // without a screen to draw on. A sink that throws everything away keeps
    // a picture or a video chosen as the clip harmless.
    for (const char* property : {"video-sink", "text-sink", "audio-sink"}) {
        if (property == std::string_view("audio-sink") && sound_ == Sound::Speakers)
            continue;
        if (GstElement* sink = gst_element_factory_make("fakesink", nullptr))
            g_object_set(pipeline, property, sink, nullptr);
    }

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
        return false;
    }

    // The bus is read only while the clip plays, for its end; until then
    // flushing keeps its messages from piling up.
    GstBus* bus = gst_element_get_bus(pipeline);
    gst_bus_set_flushing(bus, TRUE);
    gst_object_unref(bus);

    gint64 duration = -1;
    durationNs_ = gst_element_query_duration(pipeline, GST_FORMAT_TIME, &duration) ? duration : -1;
    pipeline_ = pipeline;
    return true;
}

void GstMediaPlayer::PlayMedia(int) {
    if (!pipeline_)
        return;
    gst_element_set_state(pipeline_, GST_STATE_PAUSED);
    gst_element_seek_simple(pipeline_, GST_FORMAT_TIME,
                            static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                            0);
    GstBus* bus = gst_element_get_bus(pipeline_);
    gst_bus_set_flushing(bus, TRUE);
    gst_bus_set_flushing(bus, FALSE);
    gst_object_unref(bus);
    ended_ = false;
    gst_element_set_state(pipeline_, GST_STATE_PLAYING);
}

bool GstMediaPlayer::reachedEnd() {
    if (!ended_) {
        // Takes the end of the stream, or an error that stopped it, off the
        // bus; everything else on it is dropped on the way.
        GstBus* bus = gst_element_get_bus(pipeline_);
        if (GstMessage* message = gst_bus_pop_filtered(
                bus, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR))) {
            ended_ = true;
            gst_message_unref(message);
        }
        gst_object_unref(bus);
    }
    return ended_;
}

void GstMediaPlayer::FreeMedia() {
    if (!pipeline_)
        return;
    gst_element_set_state(pipeline_, GST_STATE_NULL);
    gst_object_unref(pipeline_);
    pipeline_ = nullptr;
    durationNs_ = -1;
    ended_ = false;
}

std::optional<double> GstMediaPlayer::playbackPositionMs() {
    if (!pipeline_ || reachedEnd())
        return std::nullopt;
    GstState state = GST_STATE_NULL;
    gst_element_get_state(pipeline_, &state, nullptr, 0);
    gint64 position = -1;
    if (state != GST_STATE_PLAYING ||
        !gst_element_query_position(pipeline_, GST_FORMAT_TIME, &position) || position < 0)
        return std::nullopt;
    if (durationNs_ > 0 && position >= durationNs_)
        return std::nullopt;
    return static_cast<double>(position) / 1e6;
}

} // namespace visemer
