// How a batch of drafts scales: a few thousand short lines spoken at run
// time by espeak-ng (several voices and speeds, English and eight other
// languages, each with its text in a list) drafted by visemer-tool in one
// command, with one job and with two. It prints the clips drafted a
// minute and the peak memory of each run, the speed-up, and whether both
// wrote the same projects byte for byte. Then, on the projects of the run
// with two jobs, twenty clips are spoken anew and ten projects corrected
// by hand, and the batch run again: it must draft exactly the twenty,
// keep the ten and take a small share of the first run's time. The time a
// clip costs beyond its recognition is measured on two hundred lines of a
// single word, against the same line drafted alone, model load and all.
// Last, a list of 100,000 lines whose projects are all up to date is
// planned (read, sorted, compared with the ledgers) without drafting.
//
//   batch_bench [--lines N] [--plan N] [--keep DIR]
//
// Exits 1 when a run drafted nothing or failed, rather than print figures
// of nothing.

#include "bench/ToolRun.h"
#include "bench/draft/Languages.h"
#include "bench/draft/Line.h"
#include "bench/draft/Voices.h"
#include "tool/BatchDraft.h"
#include "tool/BatchPlan.h"
#include "tool/Ledger.h"

#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace visemer;
using namespace visemer::bench;
namespace fs = std::filesystem;

const char* const kTool = VISEMER_TOOL_PATH;

struct Sentence {
    std::string text;
    std::string language; // espeak-ng's code, and the draft's
};

std::vector<Sentence> allSentences() {
    std::vector<Sentence> all;
    for (const std::string& text : sentences())
        all.push_back({text, "en-us"});
    for (const LanguageSentences& language : languageSentences())
        for (const std::string& text : language.sentences)
            all.push_back({text, language.code});
    return all;
}

std::vector<short>* collecting = nullptr;

int collect(short* wave, int count, espeak_EVENT*) {
    if (wave && count > 0)
        collecting->insert(collecting->end(), wave, wave + count);
    return 0;
}

// Speaks the text with the voice ("en-us", "de+f3") at the speed given.
Line spoken(const std::string& text, const std::string& voice, int wordsPerMinute, int rate) {
    Line line;
    line.text = text;
    line.rate = rate;
    collecting = &line.samples;
    espeak_SetVoiceByName(voice.c_str());
    espeak_SetParameter(espeakRATE, wordsPerMinute, 0);
    espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr,
                 nullptr);
    espeak_Synchronize();
    return line;
}

const char* const kVariants[] = {"", "+f3", "+m3", "+f2"};

std::string voiceOf(const Sentence& sentence, std::size_t i) {
    return sentence.language + kVariants[i % std::size(kVariants)];
}

int speedOf(std::size_t i) {
    return 140 + static_cast<int>(i * 7 % 70);
}

std::string lineName(std::size_t i) {
    char name[64];
    std::snprintf(name, sizeof name, "scene%02zu/line%05zu.wav", i / 250, i);
    return name;
}

std::map<std::string, std::size_t> statusCounts(const std::string& report) {
    std::map<std::string, std::size_t> counts;
    std::ifstream in(report);
    std::string line;
    std::getline(in, line); // the header
    while (std::getline(in, line)) {
        std::istringstream cells(line);
        std::string clip, status;
        std::getline(cells, clip, '\t');
        std::getline(cells, status, '\t');
        ++counts[status];
    }
    return counts;
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The projects below two folders, the same byte for byte and the same in
// number; false with the first that differs named.
bool sameProjects(const std::string& a, const std::string& b, std::size_t& count) {
    count = 0;
    for (const auto& entry : fs::recursive_directory_iterator(a)) {
        if (entry.path().extension() != ".vsq")
            continue;
        ++count;
        const fs::path other = fs::path(b) / entry.path().lexically_relative(a);
        if (readAll(entry.path()) != readAll(other)) {
            std::fprintf(stderr, "batch_bench: %s and %s differ\n", entry.path().c_str(),
                         other.c_str());
            return false;
        }
    }
    return true;
}

double megabytes(long kilobytes) {
    return static_cast<double>(kilobytes) / 1024.0;
}

bool checked(const ChildRun& run, const char* what) {
    if (run.status == 0)
        return true;
    std::fprintf(stderr, "batch_bench: %s ended with status %d\n", what, run.status);
    return false;
}

// A drafted line whose clip and project the lines of a planned list link to.
struct Source {
    std::string clip, text, project;
};

// A list of `count` lines in folders of a thousand, every clip and project
// a link to a source's (the sources in turn: a file takes some tens of
// thousands of links at most), with ledgers that say each project is up
// to date.
bool makePlan(const std::string& folder, std::size_t count, const std::vector<Source>& sources) {
    std::vector<tool::FileStamp> clips, projects;
    for (const Source& source : sources) {
        const auto clip = tool::stampOf(source.clip);
        const auto project = tool::stampOf(source.project);
        if (!clip || !project)
            return false;
        clips.push_back(*clip);
        projects.push_back(*project);
    }
    std::ofstream list(folder + "/list.tsv");
    list << "clip\ttext\n";
    std::map<std::string, std::map<std::string, tool::LedgerEntry>> ledgers;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t s = i % sources.size();
        char name[64];
        std::snprintf(name, sizeof name, "f%03zu/l%06zu", i / 1000, i);
        const std::string base = folder + "/" + name;
        fs::create_directories(fs::path(base).parent_path());
        if (::link(sources[s].clip.c_str(), (base + ".wav").c_str()) != 0 ||
            ::link(sources[s].project.c_str(), (base + ".vsq").c_str()) != 0) {
            std::perror(base.c_str());
            return false;
        }
        list << name << ".wav\t" << sources[s].text << "\n";
        tool::BatchLine line;
        line.clip = base + ".wav";
        tool::LedgerEntry entry;
        entry.project = fs::path(base).filename().string() + ".vsq";
        entry.clip = clips[s];
        entry.inputs = tool::inputsFingerprint(line, &sources[s].text, clips[s]);
        entry.written = projects[s];
        ledgers[fs::path(base).parent_path().string()][entry.project] = entry;
    }
    for (const auto& [ledgerFolder, entries] : ledgers)
        std::ofstream(ledgerFolder + "/" + tool::kLedgerName) << tool::ledgerText(entries);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    std::size_t count = 2000;
    std::size_t planned = 100000;
    std::string keep;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--lines" && i + 1 < argc)
            count = std::max<std::size_t>(40, std::strtoul(argv[++i], nullptr, 10));
        else if (argument == "--plan" && i + 1 < argc)
            planned = std::strtoul(argv[++i], nullptr, 10);
        else if (argument == "--keep" && i + 1 < argc)
            keep = argv[++i];
        else {
            std::fprintf(argument == "--help" ? stdout : stderr,
                         "usage: batch_bench [--lines N] [--plan N] [--keep DIR]\n");
            return argument == "--help" ? 0 : 2;
        }
    }
    std::string folder = keep;
    if (folder.empty()) {
        char scratch[] = "/tmp/batch-bench-XXXXXX";
        if (!::mkdtemp(scratch))
            return 1;
        folder = scratch;
    }
    fs::create_directories(folder);

    const int rate =
        espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
    if (rate <= 0) {
        std::fprintf(stderr, "batch_bench: espeak-ng did not start\n");
        return 1;
    }
    espeak_SetSynthCallback(collect);
    const std::vector<Sentence> all = allSentences();
    const std::string lines = folder + "/lines";
    std::ofstream list(lines + ".tsv");
    list << "clip\ttext\tlanguage\n";
    double voiceSeconds = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const Sentence& sentence = all[i % all.size()];
        const Line line =
            spoken(sentence.text, voiceOf(sentence, i / all.size()), speedOf(i), rate);
        const std::string clip = lines + "/" + lineName(i);
        fs::create_directories(fs::path(clip).parent_path());
        writeWav(clip, line);
        voiceSeconds += line.lengthMs() / 1000;
        list << "lines/" << lineName(i) << '\t' << sentence.text << '\t' << sentence.language
             << '\n';
    }
    list.close();
    std::printf("%zu lines, %.0f s of voice in all, %zu sentences in %zu languages, %zu voices\n",
                count, voiceSeconds, all.size(), languageSentences().size() + 1,
                std::size(kVariants));

    // One job, then two.
    ChildRun runs[2];
    for (int jobs = 1; jobs <= 2; ++jobs) {
        const std::string out = folder + "/jobs" + std::to_string(jobs);
        runs[jobs - 1] =
            runTool(kTool, {"draft", "--list", lines + ".tsv", "-o", out, "--jobs",
                            std::to_string(jobs), "--progress", "none", "--report", out + ".tsv"});
        if (!checked(runs[jobs - 1], "the first run"))
            return 1;
        const auto counts = statusCounts(out + ".tsv");
        if (counts.count("drafted") == 0 || counts.at("drafted") != count) {
            std::fprintf(stderr, "batch_bench: --jobs %d drafted %zu of %zu lines\n", jobs,
                         counts.count("drafted") ? counts.at("drafted") : 0, count);
            return 1;
        }
    }
    std::size_t compared = 0;
    const bool same = sameProjects(folder + "/jobs1", folder + "/jobs2", compared);
    const double perMinute1 = static_cast<double>(count) / runs[0].wallSeconds * 60;
    const double perMinute2 = static_cast<double>(count) / runs[1].wallSeconds * 60;
    std::printf("run          clips/min  wall s   cpu s  peak MB   goal MB\n");
    for (int jobs = 1; jobs <= 2; ++jobs)
        std::printf("--jobs %d    %9.0f %7.1f %7.1f %8.1f %9.0f\n", jobs,
                    jobs == 1 ? perMinute1 : perMinute2, runs[jobs - 1].wallSeconds,
                    runs[jobs - 1].cpuSeconds, megabytes(runs[jobs - 1].peakKb), 150.0 + 60 * jobs);
    std::printf("speed-up of --jobs 2: %.2fx (goal 1.8x); projects the same byte for byte: %s "
                "(%zu compared)\n",
                perMinute2 / perMinute1, same ? "yes" : "NO", compared);

    // Twenty clips spoken anew, ten projects corrected, and the batch again.
    const std::string out = folder + "/jobs2";
    for (std::size_t k = 0; k < 20; ++k) {
        const std::size_t i = k * (count / 2 / 20); // in the first half
        const Sentence& sentence = all[i % all.size()];
        writeWav(lines + "/" + lineName(i),
                 spoken(sentence.text, voiceOf(sentence, i / all.size()), speedOf(i) + 25, rate));
    }
    for (std::size_t k = 0; k < 10; ++k) {
        const std::size_t i = count / 2 + k * (count / 2 / 10); // in the second
        const std::string project = out + "/lines/" + tool::withExtension(lineName(i), ".vsq");
        std::string text = readAll(project);
        const std::size_t row = text.find("\n1 = ");
        if (row == std::string::npos)
            return 1;
        text.insert(row + 5, "E\r\n1x = ");
        std::ofstream(project, std::ios::binary) << text;
    }
    const ChildRun again = runTool(kTool, {"draft", "--list", lines + ".tsv", "-o", out, "--jobs",
                                           "2", "--progress", "none", "--report", out + "-2.tsv"});
    if (!checked(again, "the second run"))
        return 1;
    const auto counts = statusCounts(out + "-2.tsv");
    const auto countOf = [&](const char* status) {
        return counts.count(status) ? counts.at(status) : std::size_t{0};
    };
    std::printf("second run, 20 clips changed and 10 projects corrected: %zu drafted, %zu kept "
                "corrections, %zu up to date, %zu needs a look; %.2f s, %.1f%% of the first "
                "(goal 5%%)\n",
                countOf("drafted"), countOf("kept corrections"), countOf("up to date"),
                countOf("needs a look"), again.wallSeconds,
                100 * again.wallSeconds / runs[1].wallSeconds);

    // The cost of a clip beyond its recognition: a word's line, many times.
    const std::string word = folder + "/word";
    fs::create_directories(word);
    const Line yes = spoken("Yes.", "en-us", 175, rate);
    writeWav(word + "/alone.wav", yes);
    std::ofstream(word + "/alone.txt") << "Yes.\n";
    constexpr std::size_t kWords = 200;
    for (std::size_t i = 0; i < kWords; ++i) {
        const std::string name = word + "/many/yes" + std::to_string(i);
        fs::create_directories(word + "/many");
        fs::copy_file(word + "/alone.wav", name + ".wav");
        fs::copy_file(word + "/alone.txt", name + ".txt");
    }
    const ChildRun many =
        runTool(kTool, {"draft", word + "/many", "--jobs", "1", "--progress", "none"});
    double aloneSeconds = 0;
    constexpr int kAlone = 10;
    for (int i = 0; i < kAlone; ++i) {
        const ChildRun alone = runTool(kTool, {"draft", word + "/alone.wav", "--text",
                                               word + "/alone.txt", "-o", word + "/alone.vsq"});
        if (!checked(alone, "a line drafted alone"))
            return 1;
        aloneSeconds += alone.wallSeconds / kAlone;
    }
    if (!checked(many, "the word's lines"))
        return 1;
    std::printf("a line of one word (%.2f s of voice): %.3f s a clip in a batch (goal of the cost "
                "beyond recognition: 0.1 s), %.3f s drafted alone\n",
                yes.lengthMs() / 1000, many.wallSeconds / kWords, aloneSeconds);

    if (planned > 0) {
        const std::string plan = folder + "/plan";
        fs::create_directories(plan);
        std::vector<Source> sources;
        for (std::size_t i = 0; i < 10; ++i)
            sources.push_back({lines + "/" + lineName(i), all[i % all.size()].text,
                               out + "/lines/" + tool::withExtension(lineName(i), ".vsq")});
        if (!makePlan(plan, planned, sources)) {
            std::fprintf(stderr, "batch_bench: could not lay out the list to plan\n");
            return 1;
        }
        const ChildRun planning =
            runTool(kTool, {"draft", "--list", plan + "/list.tsv", "--dry-run", "--progress",
                            "none", "--report", plan + ".tsv"});
        if (!checked(planning, "planning"))
            return 1;
        const auto plannedCounts = statusCounts(plan + ".tsv");
        const std::size_t upToDate =
            plannedCounts.count("up to date") ? plannedCounts.at("up to date") : 0;
        std::printf("a list of %zu lines planned without drafting: %.2f s (goal 2 s), %.1f MB; "
                    "%zu found up to date\n",
                    planned, planning.wallSeconds, megabytes(planning.peakKb), upToDate);
        if (upToDate != planned)
            return 1;
    }
    if (keep.empty())
        fs::remove_all(folder);
    return same ? 0 : 1;
}
