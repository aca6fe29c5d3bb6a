#include "voice/VoiceDecoder.h"

#include "voice/VoiceError.h"

#include <gst/app/gstappsink.h>
#include <gst/gst.h>

#include <cstdlib>
#include <memory>
#include <sys/stat.h>

namespace visemer {
namespace {

constexpr GstClockTime kPullWait = 100 * GST_MSECOND;

struct Unref {
    void operator()(GstElement* element) const {
        gst_element_set_state(element, GST_STATE_NULL);
        gst_object_unref(element);
    }
};
using Pipeline = std::unique_ptr<GstElement, Unref>;

std::string uriOf(const std::string& path) {
    GError* error = nullptr;
    gchar* uri = gst_filename_to_uri(path.c_str(), &error);
    if (!uri) {
        const std::string reason = error ? error->message : "a bad file name";
        g_clear_error(&error);
        throw VoiceError("cannot read " + path + ": " + reason);
    }
    std::string out(uri);
    g_free(uri);
    return out;
}

void checkFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        throw VoiceError("cannot read " + path + ": no such file");
    if (!S_ISREG(info.st_mode))
        throw VoiceError("cannot read " + path + ": not a file");
}

// The first error on the bus, if any, as one line.
std::string takeError(GstElement* pipeline, bool& ended) {
    GstBus* bus = gst_element_get_bus(pipeline);
    std::string reason;
    while (GstMessage* message = gst_bus_pop_filtered(
               bus, static_cast<GstMessageType>(GST_MESSAGE_ERROR | GST_MESSAGE_EOS))) {
        if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS) {
            ended = true;
        } else if (reason.empty()) {
            GError* error = nullptr;
            gst_message_parse_error(message, &error, nullptr);
            reason = error ? error->message : "unknown error";
            g_clear_error(&error);
        }
        gst_message_unref(message);
    }
    gst_object_unref(bus);
    return reason;
}

double shareDone(GstElement* pipeline) {
    gint64 position = 0, duration = 0;
    if (!gst_element_query_position(pipeline, GST_FORMAT_TIME, &position) ||
        !gst_element_query_duration(pipeline, GST_FORMAT_TIME, &duration) || duration <= 0)
        return -1;
    return static_cast<double>(position) / static_cast<double>(duration);
}

// The sample rate of what flows into an element of the pipeline.
int rateInto(GstElement* pipeline, const char* name) {
    GstElement* element = gst_bin_get_by_name(GST_BIN(pipeline), name);
    if (!element)
        return 0;
    int rate = 0;
    if (GstPad* pad = gst_element_get_static_pad(element, "sink")) {
        if (GstCaps* caps = gst_pad_get_current_caps(pad)) {
            if (gst_caps_get_size(caps) > 0)
                gst_structure_get_int(gst_caps_get_structure(caps, 0), "rate", &rate);
            gst_caps_unref(caps);
        }
        gst_object_unref(pad);
    }
    gst_object_unref(element);
    return rate;
}

} // namespace

VoiceDecoder::Decoded VoiceDecoder::decode(const std::string& path, const Block& block,
                                           const Progress& progress) {
    checkFile(path);
    gst_init(nullptr, nullptr);
    GError* error = nullptr;
    Pipeline pipeline(
        gst_parse_launch("uridecodebin name=source ! audioconvert name=convert ! audioresample ! "
                         "audio/x-raw,format=S16LE,rate=16000,channels=1,layout=interleaved ! "
                         "appsink name=sink sync=false max-buffers=16",
                         &error));
    if (!pipeline) {
        const std::string reason = error ? error->message : "no pipeline";
        g_clear_error(&error);
        throw VoiceError("the media service cannot decode audio: " + reason);
    }
    g_clear_error(&error);
    GstElement* source = gst_bin_get_by_name(GST_BIN(pipeline.get()), "source");
    g_object_set(source, "uri", uriOf(path).c_str(), nullptr);
    gst_object_unref(source);
    GstElement* sinkElement = gst_bin_get_by_name(GST_BIN(pipeline.get()), "sink");
    GstAppSink* sink = GST_APP_SINK(sinkElement);

    gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
    std::uint64_t decoded = 0;
    int clipRate = 0;
    bool ended = false;
    std::string reason;
    while (!ended && reason.empty()) {
        if (GstSample* sample = gst_app_sink_try_pull_sample(sink, kPullWait)) {
            GstBuffer* buffer = gst_sample_get_buffer(sample);
            GstMapInfo map;
            if (buffer && gst_buffer_map(buffer, &map, GST_MAP_READ)) {
                const std::size_t count = map.size / sizeof(std::int16_t);
                block(reinterpret_cast<const std::int16_t*>(map.data), count);
                decoded += count;
                if (clipRate == 0)
                    clipRate = rateInto(pipeline.get(), "convert");
                gst_buffer_unmap(buffer, &map);
            }
            gst_sample_unref(sample);
            if (progress) {
                const double share = shareDone(pipeline.get());
                if (share >= 0)
                    progress(share);
            }
            continue;
        }
        if (gst_app_sink_is_eos(sink))
            ended = true;
        reason = takeError(pipeline.get(), ended);
    }
    gst_object_unref(sinkElement);
    if (!reason.empty()) {
        if (decoded == 0)
            throw VoiceError(path + " has no audio the program can play (" + reason + ")");
        throw VoiceError("cannot read all of " + path + ": " + reason);
    }
    if (decoded == 0)
        throw VoiceError(path + " has no audio stream");
    if (progress)
        progress(1);
    return {decoded, clipRate};
}

} // namespace visemer
