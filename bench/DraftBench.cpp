// How good and how fast a draft from the voice is. Sets of clips, each
// drafted without and with its text and scored frame by frame at 30 fps
// against a reference:
//   - espeak-ng's voices, Festival's diphone and HTS voices: the phones
//     each synthesizer reports with their times are the reference;
//   - the same sets joined into one clip each, after a 3 s lead-in and
//     with pauses of 0.2 to 5 s between lines;
//   - read speech (the LibriVox lines of pocketsphinx-testdata), alone and
//     joined, where only silence and voice are known, from the signal.
// For every set it prints the share of frames whose drawing agrees, the
// ceiling (the reference itself laid out as rows) and the agreement as a
// share of it; the share of the reference's changes of drawing with a
// change in the draft within one frame and within 50 ms; the share of
// silent frames drawn closed, counting silences of a delay step or more,
// the shortest a row can show (and, for read speech, silences of 100 ms or
// more, and the share of voiced frames drawn open); the share of b, m and
// p with the lips closed within a frame of them; and the speed, seconds of
// voice per second of processor time. With --long-minutes N it also drafts
// one clip of N minutes, without and with its text, each in a child
// process, and reports the agreement over the whole clip and that
// process's peak resident memory.
//
//   - ten sentences in each of eight other languages spoken by espeak-ng,
//     drafted with their language, alone and joined as above, against the
//     phonemes espeak-ng reports.
//
//   draft_bench [--sentences N] [--long-minutes N] [--keep DIR]
//
// Exits 1 without figures when no frame could be compared, and names any
// set it could not make (Festival or pocketsphinx-testdata missing).

#include "bench/ToolRun.h"
#include "bench/draft/DraftScore.h"
#include "bench/draft/Languages.h"
#include "bench/draft/Voices.h"
#include "exchange/ProjectDocument.h"
#include "tool/Draft.h"
#include "voice/VoiceError.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace visemer;
using namespace visemer::bench;

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Set {
    std::string name;
    std::vector<Line> lines;
    std::string language = tool::kDictionaryLanguage;
    DraftScore scores[2]; // without and with text
};

// Drafts every line of a set without and with its text, and scores them.
void draftSet(Set& set, const std::string& folder) {
    for (std::size_t i = 0; i < set.lines.size(); ++i) {
        const Line& line = set.lines[i];
        std::string name = set.name;
        std::replace(name.begin(), name.end(), ' ', '-');
        const std::string wav = folder + "/" + name + "-" + std::to_string(i + 1) + ".wav";
        writeWav(wav, line);
        std::ofstream(folder + "/" + name + "-" + std::to_string(i + 1) + ".txt") << line.text;
        std::vector<TimedLabel> ceiling;
        if (!line.phones.empty()) {
            Timing perfect;
            perfect.rows = tool::draftRows(line.phones, perfect);
            ceiling = timeRows(perfect, delayUnitMs(perfect));
        }
        for (const bool withText : {false, true}) {
            DraftScore& score = set.scores[withText];
            tool::DraftRequest request;
            request.voice = wav;
            if (withText)
                request.dialogue = line.text;
            request.language = set.language;
            const double before = cpuSeconds();
            tool::Draft draft;
            try {
                draft = tool::draftTiming(request, {});
            } catch (const VoiceError& error) {
                std::fprintf(stderr, "draft_bench: %s, line %zu: %s\n", set.name.c_str(), i + 1,
                             error.what());
                ++score.failures;
                continue;
            }
            score.cpuSeconds += cpuSeconds() - before;
            score.voiceSeconds += line.lengthMs() / 1000;
            const auto rows = timeRows(draft.timing, delayUnitMs(draft.timing));
            if (line.phones.empty())
                score.addRecorded(line, rows);
            else
                score.addTimed(line, rows, ceiling, delayUnitMs(draft.timing));
        }
    }
}

// A share as "12.3%", or "-" where there was nothing to count.
std::string shareText(long part, long whole) {
    char text[16] = "     -";
    if (whole > 0)
        std::snprintf(text, sizeof text, "%5.1f%%", DraftScore::share(part, whole));
    return text;
}

void printSet(const Set& set) {
    for (const bool withText : {false, true}) {
        const DraftScore& s = set.scores[withText];
        const std::string name = set.name + (withText ? ", text" : ", no text");
        const double speed = s.voiceSeconds / std::max(1e-9, s.cpuSeconds);
        std::printf("%-40s %s %s %s  %s %s  %s %s %s  %5.1fx%s\n", name.c_str(),
                    shareText(s.agreeing, s.frames).c_str(),
                    shareText(s.ceilingAgreeing, s.frames).c_str(),
                    shareText(s.agreeing, s.ceilingAgreeing).c_str(),
                    shareText(s.changesWithinFrame, s.changes).c_str(),
                    shareText(s.changesWithin50Ms, s.changes).c_str(),
                    shareText(s.silentClosed, s.silentFrames).c_str(),
                    shareText(s.voicedOpen, s.voicedFrames).c_str(),
                    shareText(s.bilabialsClosed, s.bilabials).c_str(), speed,
                    s.failures ? "  FAILED DRAFTS" : "");
    }
}

// Sentences spoken one after another until the clip is N minutes long,
// drafted without and with their text; the agreement over the whole clip
// shows that its later stretches are placed as well as its first.
int longClip(int minutes, const std::string& folder, const char* tool) {
    std::vector<Line> pieces;
    if (!speakWithEspeak(sentences().size(), pieces))
        return 1;
    const double wantedMs = minutes * 60000.0;
    std::vector<Line> lines;
    double lengthMs = 0;
    for (std::size_t i = 0; lengthMs < wantedMs; ++i) {
        lines.push_back(pieces[i % pieces.size()]);
        lengthMs += lines.back().lengthMs();
    }
    pieces = {};
    Line clip = joinLines(lines, 0, {0});
    lines = {};
    const std::string wav = folder + "/long.wav", dialogue = folder + "/long.txt";
    writeWav(wav, clip);
    std::ofstream(dialogue) << clip.text;
    clip.writtenMs = clip.lengthMs();
    clip.samples = {};

    int failures = 0;
    for (bool withText : {false, true}) {
        std::printf("long clip: %.1f minutes, drafting %s...\n", lengthMs / 60000,
                    withText ? "with its text" : "without text");
        std::fflush(stdout);
        const std::string out = folder + (withText ? "/aligned.vsq" : "/phones.vsq");
        std::vector<std::string> arguments{"draft", wav, "-o", out};
        if (withText)
            arguments.insert(arguments.end(), {"--text", dialogue});
        const ChildRun run = runTool(tool, arguments);
        const auto project = run.ok ? readProject(out) : std::nullopt;
        if (!project || run.peakKb == 0) {
            std::fprintf(stderr, "draft_bench: the long draft %s\n",
                         !run.ok    ? "failed"
                         : !project ? "wrote nothing readable"
                                    : "ran without its memory being read");
            ++failures;
            continue;
        }
        DraftScore score;
        const Timing& timing = project->timing;
        score.addTimed(clip, timeRows(timing, delayUnitMs(timing)), {}, delayUnitMs(timing));
        if (score.frames == 0) {
            std::fprintf(stderr, "draft_bench: no frame of the long clip was compared\n");
            ++failures;
            continue;
        }
        std::printf("long clip %-13s agreement %5.1f%%  peak resident memory %.1f MB (goal under "
                    "300 MB)  %.1fx real time\n",
                    withText ? "with text:" : "without text:",
                    DraftScore::share(score.agreeing, score.frames),
                    static_cast<double>(run.peakKb) / 1024.0, lengthMs / 1000 / run.cpuSeconds);
    }
    return failures ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    std::size_t count = sentences().size();
    int longMinutes = 0;
    std::string keep;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--sentences" && i + 1 < argc)
            count = std::min<std::size_t>(std::strtoul(argv[++i], nullptr, 10), count);
        else if (argument == "--long-minutes" && i + 1 < argc)
            longMinutes = std::atoi(argv[++i]);
        else if (argument == "--keep" && i + 1 < argc)
            keep = argv[++i];
        else {
            std::fprintf(stderr,
                         "usage: draft_bench [--sentences N] [--long-minutes N] [--keep DIR]\n");
            return argument == "--help" ? 0 : 2;
        }
    }
    char folderTemplate[] = "/tmp/draft_bench.XXXXXX";
    const std::string folder = keep.empty() ? mkdtemp(folderTemplate) : keep;

    // Every draft loads the speech model first; how long that takes is
    // measured once here, to tell the recognition's own speed.
    double loadSeconds[2] = {};
    for (const bool withText : {false, true}) {
        const double loadStart = cpuSeconds();
        try {
            PhoneRecognizer loaded(SpeechModel{}, withText ? PhoneRecognizer::Search::Dialogue
                                                           : PhoneRecognizer::Search::Phones);
        } catch (const VoiceError& error) {
            std::fprintf(stderr, "draft_bench: %s\n", error.what());
            return 1;
        }
        loadSeconds[withText] = cpuSeconds() - loadStart;
    }

    std::vector<Set> sets;
    const std::vector<double> pauses{200, 500, 1000, 2000, 5000};
    const auto addWithJoined = [&](const std::string& name, std::vector<Line> lines,
                                   const std::string& language = tool::kDictionaryLanguage) {
        Line joined = joinLines(lines, 3000, pauses);
        sets.push_back({name, std::move(lines), language, {}});
        sets.push_back({name + " joined", {std::move(joined)}, language, {}});
    };
    std::vector<Line> lines;
    if (!speakWithEspeak(count, lines)) {
        std::fprintf(stderr, "draft_bench: espeak-ng did not start\n");
        return 1;
    }
    addWithJoined("espeak-ng", std::move(lines));
    for (const char* voice : {"kal_diphone", "cmu_us_slt_arctic_hts"}) {
        lines = {};
        if (speakWithFestival(voice, count, folder, lines))
            addWithJoined(std::string("festival ") + voice, std::move(lines));
        else
            std::fprintf(stderr, "draft_bench: no Festival voice %s; its sets are left out\n",
                         voice);
    }
    lines = {};
    if (recordedSpeech(lines)) {
        Line joined = joinLines(lines, 0, {0});
        sets.push_back({"read speech", std::move(lines), tool::kDictionaryLanguage, {}});
        sets.push_back({"read speech joined", {std::move(joined)}, tool::kDictionaryLanguage, {}});
    } else {
        std::fprintf(stderr, "draft_bench: no pocketsphinx-testdata; read speech is left out\n");
    }
    // After the English voices, which leave the synthesizer's state behind
    // them: the clips are the same from run to run only in this order.
    for (const LanguageSentences& language : languageSentences()) {
        lines = {};
        if (!speakLanguage(language, lines)) {
            std::fprintf(stderr, "draft_bench: espeak-ng cannot speak %s\n", language.name.c_str());
            return 1;
        }
        addWithJoined("espeak-ng " + language.code, std::move(lines), language.code);
    }
    for (Set& set : sets)
        draftSet(set, folder);
    if (keep.empty())
        std::system(("rm -rf '" + folder + "'").c_str());

    long compared = 0;
    for (const Set& set : sets)
        compared += set.scores[0].frames + set.scores[1].frames + set.scores[0].silentFrames;
    if (compared == 0) {
        std::fprintf(stderr, "draft_bench: no frame was compared; no figures\n");
        return 1;
    }
    if (const auto unknown = unheardPhonemes(); !unknown.empty()) {
        std::fprintf(stderr, "draft_bench: IPA phonemes with no phone:");
        for (const auto& name : unknown)
            std::fprintf(stderr, " %s", name.c_str());
        std::fprintf(stderr, "\n");
    }
    if (const auto unknown = unknownEspeakPhonemes(); !unknown.empty()) {
        std::fprintf(stderr, "draft_bench: espeak-ng phonemes counted as silence:");
        for (const auto& name : unknown)
            std::fprintf(stderr, " %s", name.c_str());
        std::fprintf(stderr, "\n");
    }
    std::printf("%zu sentences a synthesizer; frames at 30 fps, rows at Browser\n", count);
    std::printf("%-40s %6s %6s %6s  %6s %6s  %6s %6s %6s  %s\n", "set", "agree", "ceil", "share",
                "<=1fr", "<=50ms", "silent", "voiced", "b/m/p", "speed");
    for (const Set& set : sets)
        printSet(set);
    std::printf(
        "(agree: frames whose drawing agrees; ceil: the reference as rows; share: agree "
        "over ceil; <=1fr, <=50ms: the reference's changes of drawing with one in the "
        "draft that near; silent: frames of silences of a delay step or more (read speech: "
        "100 ms or more) drawn closed; voiced: voiced frames drawn "
        "open; b/m/p: those with the lips closed within a frame; speed: seconds of voice a second "
        "of processor time, each draft loading the model, which takes %.2f s without "
        "text and %.2f s with)\n",
        loadSeconds[0], loadSeconds[1]);
    if (std::getenv("DRAFT_BENCH_CONFUSIONS"))
        for (const Set& set : sets)
            for (const DraftScore& score : set.scores) {
                std::vector<std::pair<long, std::string>> sorted;
                for (const auto& [pair, n] : score.confusions)
                    sorted.emplace_back(-n, pair);
                std::sort(sorted.begin(), sorted.end());
                std::printf("  %s most confused (reference>draft):", set.name.c_str());
                for (std::size_t i = 0; i < std::min<std::size_t>(10, sorted.size()); ++i)
                    std::printf(" %s %ld", sorted[i].second.c_str(), -sorted[i].first);
                std::printf("\n");
            }
    std::printf("silent frames drawn open, by where they lie:\n");
    for (const Set& set : sets)
        for (const bool withText : {false, true}) {
            const DraftScore& score = set.scores[withText];
            if (score.silentFrames == 0 || score.frames == 0)
                continue;
            std::printf("  %-40s of %5ld (the ceiling closes %5.1f%%): lead-in %4ld, pauses %4ld, "
                        "tail %4ld\n",
                        (set.name + (withText ? ", text" : ", no text")).c_str(),
                        score.silentFrames,
                        DraftScore::share(score.ceilingSilentClosed, score.silentFrames),
                        score.openInLeadIn, score.openInPause, score.openInTail);
            if (std::getenv("DRAFT_BENCH_CONFUSIONS") && set.lines.size() == 1)
                for (const auto& [from, to] : score.openSilences)
                    if (to - from > 100)
                        std::printf("    open from %.2f s to %.2f s\n", from / 1000, to / 1000);
        }
    // Rows of whole delay steps move a change up to half a step, more than
    // a frame; this is how many the reference itself keeps within one.
    std::printf("changes within a frame, the reference laid out as rows:");
    for (const Set& set : sets)
        if (set.scores[1].changes > 0)
            std::printf(
                " %s %s;", set.name.c_str(),
                shareText(set.scores[1].ceilingChangesWithinFrame, set.scores[1].changes).c_str());
    std::printf("\n");
    if (longMinutes > 0) {
        char temp[] = "/tmp/draft_bench_long.XXXXXX";
        const std::string longFolder = mkdtemp(temp);
        const int status = longClip(longMinutes, longFolder, VISEMER_TOOL_PATH);
        std::system(("rm -rf '" + longFolder + "'").c_str());
        return status;
    }
    return 0;
}
