// visemer-tool: drafts a timing from a voice clip and converts, exports and
// checks timing files, beside the editor.

#include "files/AtomicFile.h"
#include "tool/Arguments.h"
#include "tool/Commands.h"
#include "tool/Progress.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

namespace {

using namespace visemer::tool;

constexpr const char* kUsage =
    "usage: visemer-tool COMMAND [ARGUMENTS]\n"
    "\n"
    "  draft VOICE [-o OUTPUT] [--to FORMAT] [--fps N] [--projector]\n"
    "        [--text DIALOGUE.txt] [--language CODE]\n"
    "                   drafts a project from a voice clip\n"
    "  draft CLIP-OR-FOLDER... [--list LIST.tsv] [-o FOLDER] [--jobs N]\n"
    "        [--shard K/N] [--report FILE]\n"
    "                   drafts many clips, skipping those up to date and keeping\n"
    "                   projects corrected by hand\n"
    "  convert IN OUT [--from FORMAT] [--to FORMAT] [--fps N] [--projector]\n"
    "        [--switch-fps N] [--switch-names mouths|cues]\n"
    "                   converts between the editor's files and other tools' timings\n"
    "                   (formats: vsq, mou, tsv, cues-json, switch, json)\n"
    "  export PROJECT.vsq SCRIPT.as\n"
    "                   writes the project's clip-event script\n"
    "  check PROJECT.vsq\n"
    "                   reports what the editor will make of a project\n"
    "  render PROJECT.vsq [-o OUT.png] [--width PX] [--from S] [--to S]\n"
    "                   draws the timing: waveform, ruler, rows and mouths\n"
    "  review REPORT-OR-FOLDER... -o FOLDER\n"
    "                   a page that plays a batch's lines in a browser, the worst\n"
    "                   first\n"
    "\n"
    "  -h, --help, help show this help\n"
    "  --version        show the version\n"
    "\n"
    "\"visemer-tool COMMAND --help\" tells more. Exit status: 0 done, 1 bad input\n"
    "or a failed write, 2 wrong use.\n";

struct Command {
    const char* name;
    int (*run)(const std::vector<std::string>&);
};

constexpr Command kCommands[] = {{"draft", runDraft},   {"convert", runConvert},
                                 {"export", runExport}, {"check", runCheck},
                                 {"render", runRender}, {"review", runReview}};

} // namespace

int main(int argc, char** argv) {
    visemer::keepWritesFromEndingTheProgram();
    Progress::clearOnInterrupt();
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return kBadUsage;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        std::fputs(kUsage, stdout);
        return kSuccess;
    }
    if (name == "--version") {
        std::printf("visemer-tool %s\n", VISEMER_VERSION);
        return kSuccess;
    }
    const std::vector<std::string> words(argv + 2, argv + argc);
    for (const Command& command : kCommands) {
        if (name != command.name)
            continue;
        try {
            return command.run(words);
        } catch (const UsageError& error) {
            std::fprintf(stderr, "visemer-tool %s: %s\n(\"visemer-tool %s --help\" tells more)\n",
                         command.name, error.what(), command.name);
            return kBadUsage;
        } catch (const InputError& error) {
            std::fprintf(stderr, "visemer-tool %s: %s\n", command.name, error.what());
            return kBadInput;
        } catch (const std::exception& error) {
            std::fprintf(stderr, "visemer-tool %s: %s\n", command.name, error.what());
            return kBadInput;
        }
    }
    std::fprintf(stderr, "visemer-tool: unknown command %s\n\n%s", name.c_str(), kUsage);
    return kBadUsage;
}
