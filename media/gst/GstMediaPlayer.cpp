#include "media/gst/GstMediaPlayer.h"

#include "media/gst/ClipPipeline.h"

#include <gst/gst.h>

namespace visemer {

GstMediaPlayer::~GstMediaPlayer() {
    FreeMedia();
}

void GstMediaPlayer::InitMedia() {
    if (initialised_.valid())
        return;
    initialised_ = std::async(std::launch::async, ClipPipeline::startGstreamer).share();
}

bool GstMediaPlayer::ready() {
    if (!initialised_.valid())
        InitMedia();
    return initialised_.get();
}

bool GstMediaPlayer::LoadMedia(const std::string& path) {
    FreeMedia();
    if (!ready())
        return false;
    GstElement* pipeline = ClipPipeline::open(path, ClipPipeline::Sound::ToSpeakers);
    if (!pipeline)
        return false;

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
