// How good and how fast a draft from the voice is. espeak-ng speaks a set
// of sentences in several voices and speeds; the phonemes it reports, with
// their places in its audio, are the reference timing. Each clip is drafted
// without and with its text, and the drafted rows are compared with the
// reference, frame by frame at 30 fps:
//   - agreement: the share of frames whose drawing matches;
//   - change error: for each change of drawing in the reference, how far
//     the nearest change in the draft lies (median and 90th percentile);
//   - speed: seconds of voice per second of processor time.
// With --long-minutes N it also drafts one clip of N minutes, without and
// with its text, each in a child process, and reports the agreement over
// the whole clip and that process's peak resident memory.
//
//   draft_bench [--sentences N] [--long-minutes N] [--keep DIR]
//
// Exits 1 without figures when no frame could be compared.

#include "exchange/ProjectDocument.h"
#include "exchange/RowLayout.h"
#include "exchange/Vocabulary.h"
#include "tool/Draft.h"
#include "voice/VoiceError.h"

#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace visemer;

constexpr double kFrameMs = 1000.0 / 30;

const char* const kSentences[] = {
    "The birch canoe slid on the smooth planks.",
    "Glue the sheet to the dark blue background.",
    "It is easy to tell the depth of a well.",
    "These days a chicken leg is a rare dish.",
    "Rice is often served in round bowls.",
    "The juice of lemons makes fine punch.",
    "The box was thrown beside the parked truck.",
    "The hogs were fed chopped corn and garbage.",
    "Four hours of steady work faced us.",
    "A large size in stockings is hard to sell.",
    "The boy was there when the sun rose.",
    "A rod is used to catch pink salmon.",
    "The source of the huge river is the clear spring.",
    "Kick the ball straight and follow through.",
    "Help the woman get back to her feet.",
    "A pot of tea helps to pass the evening.",
    "Smoky fires lack flame and heat.",
    "The soft cushion broke the man's fall.",
    "The salt breeze came across from the sea.",
    "The girl at the booth sold fifty bonds.",
    "The small pup gnawed a hole in the sock.",
    "The fish twisted and turned on the bent hook.",
    "Press the pants and sew a button on the vest.",
    "The swan dive was far short of perfect.",
    "The beauty of the view stunned the young boy.",
    "Two blue fish swam in the tank.",
    "Her purse was full of useless trash.",
    "The colt reared and threw the tall rider.",
    "It snowed, rained, and hailed the same morning.",
    "Read verse out loud for pleasure.",
    "Hoist the load to your left shoulder.",
    "Take the winding path to reach the lake.",
    "Note closely the size of the gas tank.",
    "Wipe the grease off his dirty face.",
    "Mend the coat before you go out.",
    "The wrist was badly strained and hung limp.",
    "The stray cat gave birth to kittens.",
    "The young girl gave no clear response.",
    "The meal was cooked before the bell rang.",
    "What joy there is in living.",
    "Peter picked a peck of pickled peppers.",
    "Move the vase away from the window, please.",
    "We will meet by the old mill at noon.",
    "Open your mouth wide and say ah.",
};

struct Voice {
    const char* name;
    int wordsPerMinute;
};
const Voice kVoices[] = {
    {"en-us", 175}, {"en", 150}, {"en-us+f3", 200}, {"en+m3", 165}, {"en-us+f2", 140},
};

// espeak-ng's English phoneme names as the recognizer's phones; the
// reference then goes through the same tables as the draft.
const std::map<std::string, std::string>& espeakPhones() {
    static const std::map<std::string, std::string> table{
        {"p", "P"},   {"b", "B"},    {"m", "M"},   {"f", "F"},    {"v", "V"},   {"T", "TH"},
        {"D", "DH"},  {"s", "S"},    {"z", "Z"},   {"S", "SH"},   {"Z", "ZH"},  {"tS", "CH"},
        {"dZ", "JH"}, {"t", "T"},    {"t#", "T"},  {"t2", "T"},   {"d", "D"},   {"d#", "D"},
        {"k", "K"},   {"g", "G"},    {"h", "HH"},  {"n", "N"},    {"n-", "N"},  {"N", "NG"},
        {"l", "L"},   {"l/", "L"},   {"@L", "L"},  {"r", "R"},    {"r-", "R"},  {"R", "R"},
        {"w", "W"},   {"j", "Y"},    {"a", "AE"},  {"a#", "AE"},  {"A:", "AA"}, {"A@", "AA"},
        {"A", "AA"},  {"aa", "AE"},  {"aI", "AY"}, {"aI@", "AY"}, {"aU", "AW"}, {"V", "AH"},
        {"@", "AH"},  {"@2", "AH"},  {"@5", "AH"}, {"a2", "AH"},  {"E", "EH"},  {"e@", "EH"},
        {"e", "EH"},  {"eI", "EY"},  {"I", "IH"},  {"I2", "IH"},  {"I#", "IH"}, {"i", "IY"},
        {"i@", "IY"}, {"I@", "IH"},  {"i:", "IY"}, {"U", "UH"},   {"U@", "UH"}, {"u:", "UW"},
        {"O:", "AO"}, {"O", "AO"},   {"O@", "AO"}, {"o@", "AO"},  {"0", "AA"},  {"oU", "OW"},
        {"@U", "OW"}, {"o", "OW"},   {"OI", "OY"}, {"3:", "ER"},  {"3", "ER"},  {"?", "SIL"},
        {"O2", "AO"}, {"i@3", "IY"},
    };
    return table;
}

std::set<std::string> unknownEspeak;

std::string phoneOfEspeak(const std::string& name) {
    if (name.empty() || name[0] == '_')
        return "SIL";
    const auto found = espeakPhones().find(name);
    if (found != espeakPhones().end())
        return found->second;
    unknownEspeak.insert(name);
    return "SIL";
}

struct Spoken {
    std::vector<short> samples;
    std::vector<TimedPhone> phones;
};
Spoken* speaking = nullptr;

int collect(short* wave, int count, espeak_EVENT* events) {
    if (wave && count > 0)
        speaking->samples.insert(speaking->samples.end(), wave, wave + count);
    for (espeak_EVENT* event = events; event && event->type != espeakEVENT_LIST_TERMINATED;
         ++event) {
        if (event->type != espeakEVENT_PHONEME)
            continue;
        char name[9] = {};
        std::memcpy(name, event->id.string, 8);
        const double at = event->audio_position;
        if (!speaking->phones.empty())
            speaking->phones.back().endMs = at;
        speaking->phones.push_back({at, at, phoneOfEspeak(name)});
    }
    return 0;
}

int sampleRate = 22050;

Spoken speak(const std::string& text, const Voice& voice) {
    Spoken spoken;
    speaking = &spoken;
    espeak_SetVoiceByName(voice.name);
    espeak_SetParameter(espeakRATE, voice.wordsPerMinute, 0);
    espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr,
                 nullptr);
    espeak_Synchronize();
    const double lengthMs = spoken.samples.size() * 1000.0 / sampleRate;
    if (!spoken.phones.empty())
        spoken.phones.back().endMs = lengthMs;
    speaking = nullptr;
    return spoken;
}

void writeWav(const std::string& path, const std::vector<short>& samples) {
    std::ofstream out(path, std::ios::binary);
    const auto u32 = [&](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    const auto u16 = [&](std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    const std::uint32_t bytes = static_cast<std::uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    u32(36 + bytes);
    out.write("WAVEfmt ", 8);
    u32(16);
    u16(1);
    u16(1);
    u32(static_cast<std::uint32_t>(sampleRate));
    u32(static_cast<std::uint32_t>(sampleRate * 2));
    u16(2);
    u16(16);
    out.write("data", 4);
    u32(bytes);
    out.write(reinterpret_cast<const char*>(samples.data()), bytes);
}

// The drawing shown at a moment, from stretches in time order.
char drawingAt(const std::vector<TimedLabel>& stretches, double ms) {
    auto it = std::upper_bound(stretches.begin(), stretches.end(), ms,
                               [](double t, const TimedLabel& s) { return t < s.startMs; });
    if (it == stretches.begin())
        return 'C';
    --it;
    return Vocabulary::drawingOf(it->label).value_or('C');
}

std::vector<double> changesOf(const std::vector<TimedLabel>& stretches) {
    std::vector<double> changes;
    char shown = 'C';
    for (const TimedLabel& stretch : stretches) {
        if (stretch.endMs <= stretch.startMs)
            continue;
        const char drawing = Vocabulary::drawingOf(stretch.label).value_or('C');
        if (drawing != shown)
            changes.push_back(stretch.startMs);
        shown = drawing;
    }
    return changes;
}

struct Score {
    long frames = 0, agreeing = 0;
    std::map<std::string, long> confusions; // "reference>draft" drawings
    std::vector<double> changeErrors;
    double voiceSeconds = 0, cpuSeconds = 0;

    void add(const std::vector<TimedLabel>& reference, const std::vector<TimedLabel>& draft,
             double lengthMs) {
        for (double at = kFrameMs / 2; at < lengthMs; at += kFrameMs) {
            ++frames;
            const char expected = drawingAt(reference, at), got = drawingAt(draft, at);
            agreeing += expected == got;
            if (expected != got)
                ++confusions[std::string(1, expected) + ">" + got];
        }
        const auto drafted = changesOf(draft);
        for (double change : changesOf(reference)) {
            double nearest = 1e9;
            for (double other : drafted)
                nearest = std::min(nearest, std::abs(other - change));
            changeErrors.push_back(nearest);
        }
    }
};

double percentile(std::vector<double> values, double share) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(share * static_cast<double>(values.size() - 1))];
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

std::vector<TimedLabel> referenceStretches(const Spoken& spoken) {
    return tool::labelledStretches(spoken.phones);
}

void print(const char* name, const Score& score, double agreementGoal) {
    std::printf("%-18s agreement %5.1f%% (goal %.0f%%)  change error median %5.1f ms, 90%% "
                "%6.1f ms  speed %5.1fx real time (goal 10x)\n",
                name,
                100.0 * static_cast<double>(score.agreeing) / static_cast<double>(score.frames),
                agreementGoal, percentile(score.changeErrors, 0.5),
                percentile(score.changeErrors, 0.9), score.voiceSeconds / score.cpuSeconds);
}

// Runs the tool on the long clip in a child process: its peak resident
// memory and processor time. The tool's high-water mark is read while it
// runs: the child's rusage would also count what it shared with this
// process before exec.
struct ChildRun {
    bool ok = false;
    long peakKb = 0;
    double cpuSeconds = 0;
};

ChildRun runTool(const char* tool, const std::vector<std::string>& arguments) {
    std::vector<char*> argv{const_cast<char*>(tool)};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        execv(tool, argv.data());
        _exit(127);
    }
    ChildRun run;
    int status = 0;
    rusage usage{};
    while (wait4(child, &status, WNOHANG, &usage) == 0) {
        // Until exec the child is a copy of this process, whose samples
        // would count; only the tool's own memory does.
        const std::string proc = "/proc/" + std::to_string(child);
        std::string name;
        std::getline(std::ifstream(proc + "/comm"), name);
        if (name != "visemer-tool") {
            usleep(1'000);
            continue;
        }
        std::ifstream statusFile(proc + "/status");
        for (std::string line; std::getline(statusFile, line);)
            if (line.rfind("VmHWM:", 0) == 0)
                run.peakKb = std::max(run.peakKb, std::strtol(line.c_str() + 6, nullptr, 10));
        usleep(50'000);
    }
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return run;
}

// Sentences spoken one after another until the clip is N minutes long,
// drafted without and with their text; the agreement over the whole clip
// shows that its later stretches are placed as well as its first.
int longClip(int minutes, const std::string& folder, const char* tool) {
    std::vector<Spoken> pieces;
    for (std::size_t i = 0; i < std::size(kSentences); ++i)
        pieces.push_back(speak(kSentences[i], kVoices[i % std::size(kVoices)]));
    const std::size_t wanted = static_cast<std::size_t>(minutes) * 60 * sampleRate;
    std::vector<short> samples;
    std::vector<TimedPhone> phones;
    std::string text;
    samples.reserve(wanted + sampleRate * 10);
    for (std::size_t i = 0; samples.size() < wanted; ++i) {
        const Spoken& piece = pieces[i % pieces.size()];
        const double offsetMs = static_cast<double>(samples.size()) * 1000.0 / sampleRate;
        for (TimedPhone phone : piece.phones) {
            phone.startMs += offsetMs;
            phone.endMs += offsetMs;
            phones.push_back(phone);
        }
        samples.insert(samples.end(), piece.samples.begin(), piece.samples.end());
        text += std::string(kSentences[i % pieces.size()]) + "\n";
    }
    pieces = {};
    const double lengthMs = static_cast<double>(samples.size()) * 1000.0 / sampleRate;
    const std::string wav = folder + "/long.wav", dialogue = folder + "/long.txt";
    writeWav(wav, samples);
    samples = {};
    std::ofstream(dialogue) << text;
    const auto reference = tool::labelledStretches(phones);
    phones = {};

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
        Score score;
        const Timing& timing = project->timing;
        score.add(reference, timeRows(timing, delayUnitMs(timing)), lengthMs);
        if (score.frames == 0) {
            std::fprintf(stderr, "draft_bench: no frame of the long clip was compared\n");
            ++failures;
            continue;
        }
        std::printf("long clip %-13s agreement %5.1f%%  peak resident memory %.1f MB (goal under "
                    "300 MB)  %.1fx real time\n",
                    withText ? "with text:" : "without text:",
                    100.0 * static_cast<double>(score.agreeing) / static_cast<double>(score.frames),
                    static_cast<double>(run.peakKb) / 1024.0, lengthMs / 1000 / run.cpuSeconds);
    }
    return failures ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    std::size_t sentences = std::size(kSentences);
    int longMinutes = 0;
    std::string keep;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--sentences" && i + 1 < argc)
            sentences = std::min<std::size_t>(std::strtoul(argv[++i], nullptr, 10), sentences);
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
    sampleRate =
        espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_PHONEME_EVENTS);
    if (sampleRate <= 0) {
        std::fprintf(stderr, "draft_bench: espeak-ng did not start\n");
        return 1;
    }
    espeak_SetSynthCallback(collect);
    char folderTemplate[] = "/tmp/draft_bench.XXXXXX";
    const std::string folder = keep.empty() ? mkdtemp(folderTemplate) : keep;

    // Every draft loads the speech model first; how long that takes is
    // measured once here, to tell the recognition's own speed.
    const double loadStart = cpuSeconds();
    try {
        PhoneRecognizer loaded(SpeechModel{}, PhoneRecognizer::Search::Phones);
    } catch (const VoiceError& error) {
        std::fprintf(stderr, "draft_bench: %s\n", error.what());
        return 1;
    }
    const double loadSeconds = cpuSeconds() - loadStart;

    Score phones, phonesRows, aligned, alignedRows, referenceRows, referenceProjector;
    for (std::size_t i = 0; i < sentences; ++i) {
        const Voice& voice = kVoices[i % std::size(kVoices)];
        const Spoken spoken = speak(kSentences[i], voice);
        const std::string wav = folder + "/sentence" + std::to_string(i) + ".wav";
        writeWav(wav, spoken.samples);
        const double lengthMs = spoken.samples.size() * 1000.0 / sampleRate;
        const auto reference = referenceStretches(spoken);
        // The reference itself laid out in rows: what whole steps cost even
        // a perfect recognition.
        for (bool browser : {true, false}) {
            Timing perfect;
            perfect.browser = browser;
            perfect.rows = layOutRows(reference, delayUnitMs(perfect));
            (browser ? referenceRows : referenceProjector)
                .add(reference, timeRows(perfect, delayUnitMs(perfect)), lengthMs);
        }
        for (bool withText : {false, true}) {
            tool::DraftRequest request;
            request.voice = wav;
            if (withText)
                request.dialogue = kSentences[i];
            const double before = cpuSeconds();
            tool::Draft draft;
            try {
                draft = tool::draftTiming(request, {});
            } catch (const VoiceError& error) {
                std::fprintf(stderr, "draft_bench: sentence %zu: %s\n", i + 1, error.what());
                continue;
            }
            const double cpu = cpuSeconds() - before;
            if (const char* show = std::getenv("DRAFT_BENCH_SHOW");
                show && std::atoi(show) == static_cast<int>(i + 1)) {
                for (const TimedPhone& phone : spoken.phones)
                    std::printf("%s@%.0f ", phone.phone.c_str(), phone.startMs);
                std::printf("\n");
                for (const TimedPhone& phone : draft.phones)
                    std::printf("%s@%.0f ", phone.phone.c_str(), phone.startMs);
                std::printf("\n");
            }
            Score& rows = withText ? alignedRows : phonesRows;
            Score& raw = withText ? aligned : phones;
            rows.add(reference, timeRows(draft.timing, delayUnitMs(draft.timing)), lengthMs);
            raw.add(reference, tool::labelledStretches(draft.phones), lengthMs);
            for (Score* score : {&rows, &raw}) {
                score->voiceSeconds += lengthMs / 1000;
                score->cpuSeconds += cpu;
            }
        }
    }
    if (keep.empty())
        std::system(("rm -rf '" + folder + "'").c_str());
    if (phonesRows.frames == 0 || alignedRows.frames == 0) {
        std::fprintf(stderr, "draft_bench: no frame was compared; no figures\n");
        return 1;
    }
    if (!unknownEspeak.empty()) {
        std::fprintf(stderr, "draft_bench: espeak-ng phonemes counted as silence:");
        for (const auto& name : unknownEspeak)
            std::fprintf(stderr, " %s", name.c_str());
        std::fprintf(stderr, "\n");
    }
    std::printf("%zu sentences, %.1f s of voice, %zu voices; frames at 30 fps\n", sentences,
                alignedRows.voiceSeconds, std::size(kVoices));
    print("without text", phonesRows, 65);
    print("with text", alignedRows, 85);
    print("  phones, no text", phones, 65);
    print("  phones, text", aligned, 85);
    for (const Score* perfect : {&referenceRows, &referenceProjector})
        std::printf("%-18s agreement %5.1f%%  change error median %5.1f ms, 90%% %6.1f ms\n",
                    perfect == &referenceRows ? "reference as rows" : "  at Projector",
                    100.0 * static_cast<double>(perfect->agreeing) /
                        static_cast<double>(perfect->frames),
                    percentile(perfect->changeErrors, 0.5), percentile(perfect->changeErrors, 0.9));
    const double drafts = 2.0 * static_cast<double>(sentences);
    std::printf("loading the speech model takes %.2f s of processor time per draft; without it "
                "the speed is %.1fx (no text) and %.1fx (text)\n",
                loadSeconds,
                phonesRows.voiceSeconds / (phonesRows.cpuSeconds - loadSeconds * drafts / 2),
                alignedRows.voiceSeconds / (alignedRows.cpuSeconds - loadSeconds * drafts / 2));
    if (std::getenv("DRAFT_BENCH_CONFUSIONS"))
        for (const Score* score : {&phones, &aligned}) {
            std::vector<std::pair<long, std::string>> sorted;
            for (const auto& [pair, count] : score->confusions)
                sorted.emplace_back(-count, pair);
            std::sort(sorted.begin(), sorted.end());
            std::printf("  most confused (reference>draft):");
            for (std::size_t i = 0; i < std::min<std::size_t>(12, sorted.size()); ++i)
                std::printf(" %s %ld", sorted[i].second.c_str(), -sorted[i].first);
            std::printf("\n");
        }
    std::printf("(rows are whole delay steps of 71.4 ms at 30 fps \"Browser\", 66.7 ms at "
                "\"Projector\"; the phone lines show the recognition before that rounding, and "
                "the reference lines what the rounding costs a perfect recognition)\n");
    if (longMinutes > 0) {
        char temp[] = "/tmp/draft_bench_long.XXXXXX";
        const std::string longFolder = mkdtemp(temp);
        const int status = longClip(longMinutes, longFolder, VISEMER_TOOL_PATH);
        std::system(("rm -rf '" + longFolder + "'").c_str());
        return status;
    }
    return 0;
}
