#include "exchange/ProjectDocument.h"
#include "tool/Arguments.h"
#include "tool/Commands.h"
#include "tool/Draft.h"
#include "tool/Progress.h"
#include "tool/TimingFiles.h"
#include "voice/VoiceError.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace visemer::tool {
namespace {

constexpr const char* kHelp =
    "usage: visemer-tool draft VOICE [-o PROJECT.vsq] [--fps 12..30] [--projector]\n"
    "                          [--text DIALOGUE.txt]\n"
    "\n"
    "Drafts a timing from a voice clip: recognises its phones, gives each the\n"
    "label of its mouth shape and writes the rows as a project the editor opens.\n"
    "\n"
    "  -o, --output FILE   the project to write (default: VOICE with .vsq)\n"
    "  --fps N             the frame rate, 12 to 30 (default 30)\n"
    "  --projector         time the rows for \"Projector\" (default \"Browser\")\n"
    "  --text FILE         the dialogue's text: aligns its words to the voice\n"
    "                      instead of guessing the phones\n"
    "  --help              show this help\n";

std::string defaultOutput(const std::string& voice) {
    const std::size_t slash = voice.rfind('/');
    const std::size_t dot = voice.rfind('.');
    const bool hasExtension =
        dot != std::string::npos && dot > 0 && (slash == std::string::npos || dot > slash + 1);
    return (hasExtension ? voice.substr(0, dot) : voice) + ".vsq";
}

std::string absolute(const std::string& path) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved))
        return resolved;
    return path;
}

} // namespace

int runDraft(const std::vector<std::string>& words) {
    if (helpAsked(words, kHelp))
        return kSuccess;
    std::vector<std::string> rewritten;
    for (const std::string& word : words)
        rewritten.push_back(word == "-o" ? "--output" : word);
    const Arguments arguments(
        rewritten, {{"output", true}, {"fps", true}, {"projector", false}, {"text", true}});
    arguments.expectPositional(1, 1);

    DraftRequest request;
    request.voice = arguments.positional()[0];
    request.fps = arguments.number("fps", 12, 30).value_or(30);
    request.browser = !arguments.has("projector");
    const std::string output = arguments.value("output").value_or(defaultOutput(request.voice));
    requireFolderOf(output);
    if (const auto text = arguments.value("text"))
        request.dialogue = readWholeFile(*text);

    Draft draft;
    {
        Progress progress("drafting");
        try {
            draft = draftTiming(request, [&](double share) { progress.show(share); });
        } catch (const VoiceError& error) {
            throw InputError(error.what());
        }
    }
    if (!draft.unknownWords.empty())
        std::fprintf(stderr,
                     "visemer-tool: warning: not in the pronouncing dictionary, left out: %s\n",
                     joinedWords(draft.unknownWords).c_str());
    if (draft.wordsSkipped > 0)
        std::fprintf(stderr,
                     "visemer-tool: warning: %zu words of the dialogue were not found in the "
                     "voice and were left out\n",
                     draft.wordsSkipped);
    if (draft.wordsNotHeard > 0)
        std::fprintf(stderr,
                     "visemer-tool: warning: the voice ended before the dialogue; its last %zu "
                     "words were not aligned\n",
                     draft.wordsNotHeard);
    draft.timing.audio = absolute(request.voice);
    if (!writeProject(output, draft.timing))
        throw InputError("cannot write " + output + ": " + std::strerror(errno));
    std::fprintf(stderr, "visemer-tool: %zu rows from %.1f s of voice written to %s\n",
                 draft.timing.rows.size(), draft.clipMs / 1000, output.c_str());
    return kSuccess;
}

} // namespace visemer::tool
