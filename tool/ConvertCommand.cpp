#include "timeline/PlaybackRate.h"
#include "tool/Arguments.h"
#include "tool/Commands.h"
#include "tool/FileChecks.h"
#include "tool/TimingFiles.h"

namespace visemer::tool {
namespace {

constexpr const char* kHelp =
    "usage: visemer-tool convert IN OUT [--from FORMAT] [--to FORMAT]\n"
    "                            [--fps 12..30] [--projector] [--switch-fps N]\n"
    "                            [--switch-names mouths|cues]\n"
    "\n"
    "Converts a timing between the editor's files and those of other tools.\n"
    "OUT may be \"-\" for standard output (name its format with --to); it is\n"
    "never IN itself. Every change the conversion makes is noted on stderr.\n"
    "Formats, chosen by extension or named with --from and --to:\n"
    "  vsq        the editor's project (.vsq)\n"
    "  mou        the editor's reduced project (.mou): rows only\n"
    "  tsv        a cue list: seconds and shape (A-H, X) per line (.tsv)\n"
    "  cues-json  the same cues as JSON, under \"mouthCues\"\n"
    "  switch     switch data: \"MohoSwitch1\", then frame and mouth name (.dat);\n"
    "             read with cue letters (A-H, X) in place of mouth names too\n"
    "  json       this program's timing JSON (.json; read as cues when it\n"
    "             holds \"mouthCues\")\n"
    "\n"
    "  --fps N         frame rate for rows made from timed files, or for a\n"
    "                  .mou's rows (default 30)\n"
    "  --projector     \"Projector\" timing for such rows (default \"Browser\")\n"
    "  --switch-fps N  the frame rate of switch data, 1 to 1000 (default 24)\n"
    "  --switch-names mouths|cues\n"
    "                  how switch data read names its mouths: mouth names (AI, E,\n"
    "                  MBP ...) or cue letters (A-H, X); by default the names the\n"
    "                  file uses decide\n"
    "  --help          show this help\n";

Format formatFor(const Arguments& arguments, const char* option, const std::string& path) {
    if (const auto name = arguments.value(option)) {
        if (const auto format = formatNamed(*name))
            return *format;
        throw UsageError("unknown format " + *name + " (vsq, mou, tsv, cues-json, switch or json)");
    }
    if (const auto format = formatOfPath(path))
        return *format;
    throw UsageError("cannot tell the format of " + path + "; name it with --" + option);
}

} // namespace

int runConvert(const std::vector<std::string>& words) {
    if (helpAsked(words, kHelp))
        return kSuccess;
    const Arguments arguments(words, {{"from", true},
                                      {"to", true},
                                      {"fps", true},
                                      {"projector", false},
                                      {"switch-fps", true},
                                      {"switch-names", true}});
    arguments.expectPositional(2, 2);
    const std::string& in = arguments.positional()[0];
    const std::string& out = arguments.positional()[1];
    Rate rate;
    rate.fps = arguments.number("fps", PlaybackRate::kLowestFps, PlaybackRate::kHighestFps)
                   .value_or(PlaybackRate::kHighestFps);
    rate.browser = !arguments.has("projector");
    rate.switchFps = arguments.number("switch-fps", 1, 1000).value_or(24);
    if (const auto names = arguments.value("switch-names")) {
        if (*names != "mouths" && *names != "cues")
            throw UsageError("--switch-names takes mouths or cues");
        rate.switchNames = *names == "cues" ? SwitchNames::Cues : SwitchNames::Mouths;
    }
    const Format from = formatFor(arguments, "from", in);
    const Format to = formatFor(arguments, "to", out);
    checkOutput(out, {in});
    writeTiming(out, to, readTiming(in, from, rate, arguments.has("from")), rate, in);
    return kSuccess;
}

} // namespace visemer::tool
