#include "exchange/Timing.h"
#include "tool/Arguments.h"
#include "tool/BatchPlan.h"
#include "tool/ClipEnvelope.h"
#include "tool/Commands.h"
#include "tool/FileChecks.h"
#include "tool/Messages.h"
#include "tool/MouthDrawings.h"
#include "tool/Progress.h"
#include "tool/TimingFiles.h"
#include "tool/TimingPicture.h"
#include "voice/VoiceError.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace visemer::tool {
namespace {

constexpr const char* kHelp =
    "usage: visemer-tool render PROJECT.vsq [-o OUT.png] [--width PX]\n"
    "                           [--from S] [--to S] [--images FOLDER]\n"
    "\n"
    "Draws a project's timing as a PNG picture: the clip's waveform, a ruler\n"
    "in seconds and in frames at the project's FPS, and under it each row's\n"
    "span with its label and mouth drawing, \"Closed\" rows shaded. The rows\n"
    "are timed as the editor's preview plays them. A project without a clip\n"
    "(or whose clip cannot be read) is drawn without the waveform.\n"
    "\n"
    "  -o, --output FILE  the picture (default: PROJECT with .png); \"-\" writes\n"
    "                     it to standard output\n"
    "  --width PX         the picture's width, 200 to 20000 (default 1200)\n"
    "  --from S, --to S   the stretch of time drawn, in seconds (default: all of\n"
    "                     the clip and the rows)\n"
    "  --images FOLDER    mouth drawings A.bmp to S.bmp from this folder, as the\n"
    "                     editor's Load Images reads them (default: its own)\n"
    "  --help             show this help\n";

constexpr int kNarrowest = 200;
constexpr int kWidest = 20000;

std::optional<double> secondsOf(const Arguments& arguments, const char* name) {
    const auto text = arguments.value(name);
    if (!text)
        return std::nullopt;
    char* rest = nullptr;
    const double seconds = std::strtod(text->c_str(), &rest);
    if (text->empty() || *rest != '\0' || !std::isfinite(seconds) || seconds < 0)
        throw UsageError(std::string("--") + name + " takes seconds, 0 or more");
    return seconds;
}

} // namespace

int runRender(const std::vector<std::string>& words) {
    if (helpAsked(words, kHelp))
        return kSuccess;
    const Arguments arguments(
        words, {{"output", true}, {"width", true}, {"from", true}, {"to", true}, {"images", true}});
    arguments.expectPositional(1, 1);
    const std::string project = arguments.positional()[0];
    const std::string output = arguments.value("output").value_or(withExtension(project, ".png"));
    PictureSpan span;
    span.width = arguments.number("width", kNarrowest, kWidest).value_or(span.width);
    const auto from = secondsOf(arguments, "from");
    const auto to = secondsOf(arguments, "to");
    if (from && to && *to <= *from)
        throw UsageError("--to must come after --from");
    checkInput(project);
    checkOutput(output, {project});

    const Timing timing = readProjectFile(project);
    MouthDrawings drawings = MouthDrawings::builtIn();
    if (const auto folder = arguments.value("images")) {
        drawings = MouthDrawings::fromFolder(*folder);
        if (drawings.count() == 0)
            warn("no mouth drawing (A.bmp to S.bmp) could be read in " + *folder);
    }

    std::optional<ClipEnvelope> envelope;
    if (timing.audio.empty()) {
        note(project + " names no clip; the rows are drawn alone");
    } else {
        try {
            Progress progress("reading the clip");
            envelope = envelopeOf(timing.audio, [&](double share) { progress.show(share); });
        } catch (const VoiceError& error) {
            note(std::string(error.what()) + "; the rows are drawn alone");
        }
    }
    const std::vector<TimedLabel> rows = timeRows(timing, delayUnitMs(timing));
    const double rowsMs = rows.empty() ? 0 : rows.back().endMs;
    span.fromMs = from.value_or(0) * 1000;
    span.toMs = to ? *to * 1000 : std::max(rowsMs, envelope ? envelope->lengthMs : 0.0);
    if (span.toMs <= span.fromMs)
        span.toMs = span.fromMs + 1000;
    char title[512];
    std::snprintf(title, sizeof title, "%s  -  %zu rows, %s fps, %s, %.2f s of rows%s",
                  nameOf(project).c_str(), timing.rows.size(), timing.fps.c_str(),
                  timing.browser ? "Browser" : "Projector", rowsMs / 1000,
                  envelope ? ("; clip " + nameOf(timing.audio)).c_str() : "");
    span.title = title;

    const std::string png =
        drawTiming(timing, envelope ? &*envelope : nullptr, drawings, span).png();
    if (png.empty())
        throw InputError("cannot make the PNG picture");
    writeWholeFile(output, png);
    if (output != kStandardOutput)
        std::fprintf(stderr, "visemer-tool: %s drawn to %s\n",
                     counted(timing.rows.size(), "row").c_str(), output.c_str());
    return kSuccess;
}

} // namespace visemer::tool
