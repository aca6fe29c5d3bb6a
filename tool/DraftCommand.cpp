#include "exchange/ProjectDocument.h"
#include "project/FileExtension.h"
#include "timeline/PlaybackRate.h"
#include "tool/Arguments.h"
#include "tool/BatchCommand.h"
#include "tool/Commands.h"
#include "tool/DialogueText.h"
#include "tool/Draft.h"
#include "tool/FileChecks.h"
#include "tool/Messages.h"
#include "tool/Progress.h"
#include "tool/TimingFiles.h"
#include "voice/SpokenText.h"
#include "voice/VoiceDecoder.h"
#include "voice/VoiceError.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace visemer::tool {
namespace {

constexpr const char* kHelp =
    "usage: visemer-tool draft VOICE [-o OUTPUT] [--to FORMAT] [--fps 12..30]\n"
    "                          [--projector] [--text DIALOGUE.txt] [--language CODE]\n"
    "       visemer-tool draft CLIP-OR-FOLDER... [--list LIST.tsv] [-o FOLDER]\n"
    "                          [--jobs N] [--shard K/N] [--report FILE] [--force]\n"
    "                          [--dry-run] [--progress bar|json|none]\n"
    "       visemer-tool draft --language list\n"
    "\n"
    "Drafts a timing from a voice clip: recognises its phones, gives each the\n"
    "label of its mouth shape and writes the rows as a project the editor opens.\n"
    "\n"
    "Many clips (several, a folder's, or a list's) are a batch. Each project is\n"
    "written beside its clip with its base name, and its dialogue read from the\n"
    "text file beside it (line42.wav, line42.txt, line42.vsq). A ledger in each\n"
    "folder of projects (.visemer-ledger) keeps what was drafted from what: a\n"
    "line whose clip, text and settings have not changed is skipped, and a project\n"
    "corrected by hand since is never written over; when its clip or text changed\n"
    "too, the new draft goes beside it (line42.draft.vsq).\n"
    "\n"
    "  -o, --output FILE   the file to write (default: VOICE with .vsq); its\n"
    "                      extension chooses the format as convert's does\n"
    "                      (.vsq .mou .tsv .dat .json). \"-\" writes to standard\n"
    "                      output, as a project unless --to names another format.\n"
    "                      It is never the voice or the text itself.\n"
    "  --to FORMAT         vsq, mou, tsv, cues-json, switch or json\n"
    "  --fps N             the frame rate, 12 to 30 (default 30)\n"
    "  --projector         time the rows for \"Projector\" (default \"Browser\")\n"
    "  --text FILE         the dialogue's text, UTF-8 (or UTF-16 with a byte-order\n"
    "                      mark): aligns its words to the voice instead of\n"
    "                      guessing the phones\n"
    "  --language CODE     the dialogue's language, one espeak-ng reads (default\n"
    "                      en-us); \"list\" names them all with their codes\n"
    "\n"
    "A batch:\n"
    "  --list FILE         tab-separated, its first line naming the columns: clip,\n"
    "                      and any of text (the dialogue itself), output, language,\n"
    "                      fps and timing (browser or projector); paths are read\n"
    "                      from the list's folder\n"
    "  -o, --output FOLDER the projects go below it, in the clips' own folders\n"
    "  --jobs N            clips drafted at a time (default: the processors it\n"
    "                      may run on)\n"
    "  --shard K/N         only the clips whose place in the sorted list is K\n"
    "                      modulo N: N machines with the same list, each its own K\n"
    "  --report FILE       a line per clip, worst first: TSV, or JSON for .json\n"
    "  --force             draft every clip again, corrected projects too\n"
    "  --dry-run           say what would be drafted, and draft nothing\n"
    "  --progress KIND     bar (on a terminal), json (an object per clip on\n"
    "                      stderr) or none\n"
    "Exit status: 0 when every clip is drafted or up to date, 1 when any failed,\n"
    "2 for wrong use.\n"
    "\n"
    "  --help              show this help\n";

// The voice's name with its extension, by the editor's rule, made .vsq.
std::string defaultOutput(const std::string& voice) {
    const std::string_view extension = extensionPart(voice);
    const bool atTheEnd =
        !extension.empty() && voice.size() > extension.size() &&
        voice.compare(voice.size() - extension.size(), extension.size(), extension) == 0;
    return (atTheEnd ? voice.substr(0, voice.size() - extension.size() - 1) : voice) + ".vsq";
}

std::string absolute(const std::string& path) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved))
        return resolved;
    return path;
}

void listLanguages() {
    const SpokenText spoken;
    for (const SpokenLanguage& language : spoken.languages()) {
        std::string aliases;
        for (const SpokenLanguage::Alias& alias : language.aliases)
            aliases += (aliases.empty() ? " (also " : ", ") + alias.code;
        std::printf("%s\t%s%s\n", language.code.c_str(), language.name.c_str(),
                    aliases.empty() ? "" : (aliases + ")").c_str());
    }
}

// The language's code as espeak-ng lists it, or UsageError.
std::string checkedLanguage(const std::string& code) {
    if (code == kDictionaryLanguage)
        return code;
    const auto language = SpokenText().language(code);
    if (!language)
        throw UsageError("unknown language " + code +
                         "; visemer-tool draft --language list names them all");
    return language->code;
}

} // namespace

int runDraft(const std::vector<std::string>& words) {
    if (helpAsked(words, kHelp))
        return kSuccess;
    const Arguments arguments(words, {{"output", true},
                                      {"to", true},
                                      {"fps", true},
                                      {"projector", false},
                                      {"text", true},
                                      {"language", true},
                                      {"list", true},
                                      {"jobs", true},
                                      {"shard", true},
                                      {"report", true},
                                      {"force", false},
                                      {"dry-run", false},
                                      {"progress", true}});
    if (arguments.value("language") == "list") {
        arguments.expectPositional(0, 0);
        try {
            listLanguages();
        } catch (const VoiceError& error) {
            throw InputError(error.what());
        }
        return kSuccess;
    }
    if (wantsBatch(arguments))
        return runDraftBatch(arguments);
    arguments.expectPositional(1, 1);

    DraftRequest request;
    request.voice = arguments.positional()[0];
    request.fps = arguments.number("fps", PlaybackRate::kLowestFps, PlaybackRate::kHighestFps)
                      .value_or(PlaybackRate::kHighestFps);
    request.browser = !arguments.has("projector");
    if (const auto language = arguments.value("language")) {
        try {
            request.language = checkedLanguage(*language);
        } catch (const VoiceError& error) {
            throw InputError(error.what());
        }
    }
    const std::string output = arguments.value("output").value_or(defaultOutput(request.voice));
    std::vector<std::string> inputs{request.voice};
    if (const auto text = arguments.value("text"))
        inputs.push_back(*text);
    for (const std::string& input : inputs)
        checkInput(input);
    checkOutput(output, inputs);
    std::optional<Format> format;
    if (const auto named = arguments.value("to")) {
        format = formatNamed(*named);
        if (!format)
            throw UsageError("unknown format " + *named +
                             " (vsq, mou, tsv, cues-json, switch or json)");
    } else if (output == kStandardOutput) {
        format = Format::Project;
    } else {
        format = formatOfPath(output);
        if (!format)
            throw UsageError("cannot tell the format of " + output +
                             " from its extension (.vsq .mou .tsv .dat .json); name it with --to");
    }
    if (const auto text = arguments.value("text"))
        request.dialogue = dialogueAsUtf8(readWholeFile(*text), *text);

    Draft draft;
    {
        Progress progress("drafting");
        try {
            draft = draftTiming(request, [&](double share) { progress.show(share); });
        } catch (const VoiceError& error) {
            throw InputError(error.what());
        }
    }
    if (draft.clipRate > 0 && draft.clipRate < VoiceDecoder::kSampleRate)
        note("the clip is sampled at " + std::to_string(draft.clipRate) +
             " Hz; the speech model wants wide-band speech, 16 kHz or more, and drafts a "
             "narrow-band clip (a telephone's) less well");
    if (!draft.unknownWords.empty())
        warn("not in the pronouncing dictionary, left out: " + joinedWords(draft.unknownWords));
    if (draft.wordsSkipped > 0)
        warn(counted(draft.wordsSkipped, "word") + " of the dialogue " +
             (draft.wordsSkipped == 1 ? "was" : "were") + " not found in the voice and left out");
    if (draft.wordsNotHeard > 0)
        warn("the voice ended before the dialogue; its last " +
             (draft.wordsNotHeard == 1 ? std::string("word was")
                                       : counted(draft.wordsNotHeard, "word") + " were") +
             " not aligned");
    draft.timing.audio = absolute(request.voice);
    Rate rate;
    rate.fps = request.fps;
    rate.browser = request.browser;
    writeTiming(output, *format, draft.timing, rate, request.voice);
    std::fprintf(stderr, "visemer-tool: %s from %.1f s of voice written to %s\n",
                 counted(draft.timing.rows.size(), "row").c_str(), draft.clipMs / 1000,
                 output == kStandardOutput ? "standard output" : output.c_str());
    return kSuccess;
}

} // namespace visemer::tool
