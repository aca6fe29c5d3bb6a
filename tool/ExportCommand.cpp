#include "exchange/ProjectDocument.h"
#include "tool/Arguments.h"
#include "tool/Commands.h"
#include "tool/TimingFiles.h"

#include <cerrno>
#include <cstring>

namespace visemer::tool {
namespace {

constexpr const char* kHelp =
    "usage: visemer-tool export PROJECT.vsq SCRIPT.as\n"
    "\n"
    "Writes the project's clip-event script, as the editor's Export Script does.\n"
    "\n"
    "  --help  show this help\n";

} // namespace

int runExport(const std::vector<std::string>& words) {
    if (helpAsked(words, kHelp))
        return kSuccess;
    const Arguments arguments(words, {});
    arguments.expectPositional(2, 2);
    const std::string& project = arguments.positional()[0];
    const std::string& script = arguments.positional()[1];
    requireFolderOf(script);
    const Timing timing = readTiming(project, Format::Project, Rate{});
    if (!writeScript(script, timing))
        throw InputError("cannot write " + script + ": " + std::strerror(errno));
    return kSuccess;
}

} // namespace visemer::tool
