// A batch's work list, its ledgers and its report: which clips, which
// projects, what is redone and what is kept.

#include "tests/support/TempDir.h"
#include "tool/Arguments.h"
#include "tool/BatchDraft.h"
#include "tool/BatchPlan.h"
#include "tool/BatchReport.h"
#include "tool/Ledger.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>

namespace visemer::tool {
namespace {

class Batch : public ::testing::Test {
protected:
    std::string make(const std::string& name, const std::string& bytes = "x") {
        const std::string path = dir_.file(name);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::vector<BatchLine> plan(const BatchSources& sources) { return planBatch(sources); }
    testing::TempDir dir_;
};

TEST_F(Batch, AFolderGivesItsClipsSortedWithTheirTextAndProjectsBesideOrBelowAnOutputFolder) {
    make("scene/b.wav");
    make("scene/b.txt", "Hello.");
    make("scene/a/c.MP3");
    make("scene/notes.txt");
    make("scene/.hidden/d.wav");
    make("scene/.e.wav");
    BatchSources sources;
    sources.names = {dir_.file("scene")};
    std::vector<BatchLine> lines = plan(sources);
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_EQ(lines[0].clip, dir_.file("scene/a/c.MP3"));
    EXPECT_EQ(lines[0].project, dir_.file("scene/a/c.vsq"));
    EXPECT_EQ(lines[0].textFile, "");
    EXPECT_EQ(lines[1].clip, dir_.file("scene/b.wav"));
    EXPECT_EQ(lines[1].textFile, dir_.file("scene/b.txt"));

    sources.outputFolder = dir_.file("out");
    lines = plan(sources);
    EXPECT_EQ(lines[0].project, dir_.file("out/a/c.vsq"));
    EXPECT_EQ(lines[1].project, dir_.file("out/b.vsq"));
}

TEST_F(Batch, AListNamesClipsFromItsFolderWithTheirOwnSettings) {
    make("lines/one.wav");
    make("lines/two.wav");
    make("lines/three.wav");
    const std::string list = make("lines/list.tsv", "\xEF\xBB\xBF"
                                                    "Clip\ttext\tlanguage\tfps\ttiming\toutput\r\n"
                                                    "# a comment\n"
                                                    "two.wav\tHola.\tes\t24\tprojector\t\n"
                                                    "one.wav\t\t\t\t\tdone/one.vsq\n"
                                                    "three.wav\t\t\tfast\n"
                                                    "one.wav\n");
    BatchSources sources;
    sources.list = list;
    const std::vector<BatchLine> lines = plan(sources);
    ASSERT_EQ(lines.size(), 3U); // one.wav once
    EXPECT_EQ(lines[0].clip, dir_.file("lines/one.wav"));
    EXPECT_EQ(lines[0].project, dir_.file("lines/done/one.vsq"));
    EXPECT_EQ(lines[0].settings.language, "en-us");
    EXPECT_EQ(lines[1].clip, dir_.file("lines/three.wav"));
    EXPECT_NE(lines[1].problem.find("fps fast"), std::string::npos) << lines[1].problem;
    EXPECT_EQ(lines[2].clip, dir_.file("lines/two.wav"));
    EXPECT_EQ(lines[2].dialogue, "Hola.");
    EXPECT_EQ(lines[2].settings.language, "es");
    EXPECT_EQ(lines[2].settings.fps, 24);
    EXPECT_FALSE(lines[2].settings.browser);
    EXPECT_TRUE(lines[2].problem.empty());

    // Found in a folder as well, a listed clip keeps the list's settings.
    sources.names = {dir_.file("lines")};
    const std::vector<BatchLine> both = plan(sources);
    ASSERT_EQ(both.size(), 3U);
    EXPECT_EQ(both[2].settings.language, "es");
}

TEST_F(Batch, ABadListOrNameStopsBeforeAnyWorkAndTwoClipsForOneProjectFailTheSecond) {
    BatchSources sources;
    sources.list = make("bad.tsv", "clip\tspeaker\n");
    EXPECT_THROW(plan(sources), InputError);
    sources.list = make("none.tsv", "text\nHello\n");
    EXPECT_THROW(plan(sources), InputError);
    sources.list = make("empty.tsv", "");
    EXPECT_THROW(plan(sources), InputError);
    sources.list.reset();
    sources.names = {dir_.file("missing.wav")};
    EXPECT_THROW(plan(sources), UsageError);

    sources.names = {make("take.wav"), make("take.mp3")};
    const std::vector<BatchLine> lines = plan(sources);
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_TRUE(lines[0].problem.empty());
    EXPECT_EQ(lines[1].problem,
              dir_.file("take.vsq") + " is written for " + dir_.file("take.mp3") + " already");
}

TEST(Shards, EveryLineFallsInExactlyOneShardCountedFromZeroOrOne) {
    std::vector<BatchLine> lines(10);
    for (std::size_t i = 0; i < lines.size(); ++i)
        lines[i].clip = std::to_string(i);
    for (const bool fromOne : {false, true}) {
        std::multiset<std::string> taken;
        for (std::size_t k = 0; k < 3; ++k)
            for (const BatchLine& line :
                 linesOfShard(lines, shardNamed(std::to_string(fromOne ? k + 1 : k) + "/3")))
                taken.insert(line.clip);
        EXPECT_EQ(taken.size(), lines.size());
        EXPECT_EQ(std::set<std::string>(taken.begin(), taken.end()).size(), lines.size());
    }
    EXPECT_EQ(linesOfShard(lines, shardNamed("1/3")).front().clip, "1");
    for (const char* wrong : {"4/3", "1/0", "1", "-1/3", "a/3", "1/3x", ""})
        EXPECT_THROW(shardNamed(wrong), UsageError) << wrong;
}

TEST(BatchActions, OnlyChangedInputsAreRedrawnAndAHandEditIsNeverWrittenOver) {
    LedgerEntry entry;
    entry.inputs = "same";
    using P = ProjectNow;
    using A = LineAction;
    EXPECT_EQ(actionFor(&entry, "same", P::AsWritten, false), A::UpToDate);
    EXPECT_EQ(actionFor(&entry, "new", P::AsWritten, false), A::Draft);
    EXPECT_EQ(actionFor(&entry, "same", P::Changed, false), A::KeepCorrections);
    EXPECT_EQ(actionFor(&entry, "new", P::Changed, false), A::DraftBeside);
    EXPECT_EQ(actionFor(&entry, "same", P::Missing, false), A::Draft);
    EXPECT_EQ(actionFor(nullptr, "new", P::Changed, false), A::DraftAndCompare);
    EXPECT_EQ(actionFor(nullptr, "new", P::Missing, false), A::Draft);
    EXPECT_EQ(actionFor(&entry, "same", P::Changed, true), A::Draft);
    EXPECT_EQ(draftBeside("a/line42.vsq"), "a/line42.draft.vsq");
}

TEST_F(Batch, TheLedgerKeepsEveryFieldAndMergesWhatOthersRecorded) {
    LedgerEntry entry;
    entry.project = "odd\tname\\with\nbreaks.vsq";
    entry.clip = {123, 456789, "00112233aabbccdd"};
    entry.inputs = "ffeeddccbbaa9988";
    entry.written = {7, 8, "0123456789abcdef"};
    entry.newerDraftBeside = true;
    entry.figures = {2.5, 17, 2, 1, 0.75};
    const auto entries = ledgerEntries(ledgerText({{entry.project, entry}}));
    ASSERT_EQ(entries.size(), 1U);
    const LedgerEntry& back = entries.begin()->second;
    EXPECT_EQ(back.project, entry.project);
    EXPECT_EQ(back.clip.size, 123);
    EXPECT_EQ(back.clip.modifiedNs, 456789);
    EXPECT_EQ(back.clip.bytes, entry.clip.bytes);
    EXPECT_EQ(back.inputs, entry.inputs);
    EXPECT_EQ(back.written.bytes, entry.written.bytes);
    EXPECT_TRUE(back.newerDraftBeside);
    EXPECT_EQ(back.figures.rows, 17U);
    EXPECT_EQ(back.figures.confidence, 0.75);
    EXPECT_TRUE(ledgerEntries("a line from elsewhere\n").empty());

    // Two shards recording into one folder keep each other's lines.
    LedgerEntry other = entry;
    other.project = "other.vsq";
    other.figures.confidence.reset();
    recordInLedger(dir_.path(), {entry});
    recordInLedger(dir_.path(), {other});
    const auto both = readLedger(dir_.path());
    ASSERT_EQ(both.size(), 2U);
    EXPECT_FALSE(both.at("other.vsq").figures.confidence);
    EXPECT_TRUE(readLedger(dir_.file("nowhere")).empty());
}

TEST_F(Batch, AFileIsReadAgainOnlyWhenItsSizeOrTimeMoved) {
    const std::string path = make("clip.wav", "first");
    const auto stamp = stampOf(path);
    ASSERT_TRUE(stamp);
    EXPECT_EQ(stamp->bytes, fingerprint("first"));
    FileStamp known = *stamp;
    known.bytes = "as recorded";
    EXPECT_EQ(stampOf(path, &known)->bytes, "as recorded");
    known.modifiedNs += 1;
    EXPECT_EQ(stampOf(path, &known)->bytes, fingerprint("first"));
    EXPECT_FALSE(stampOf(dir_.file("missing.wav")));
    EXPECT_NE(fingerprint("first"), fingerprint("First"));
}

TEST(BatchReport, TheWorstLinesComeFirstInBothFormats) {
    const auto line = [](std::string clip, LineStatus status, std::optional<double> confidence) {
        LineOutcome outcome;
        outcome.clip = std::move(clip);
        outcome.status = status;
        if (status != LineStatus::Failed) {
            outcome.figures.emplace();
            outcome.figures->confidence = confidence;
        }
        return outcome;
    };
    const std::vector<LineOutcome> ordered = worstFirst({
        line("sure.wav", LineStatus::Drafted, 1.0),
        line("unsure.wav", LineStatus::UpToDate, 0.4),
        line("no text.wav", LineStatus::Drafted, std::nullopt),
        line("broken.wav", LineStatus::Failed, std::nullopt),
        line("edited.wav", LineStatus::NeedsALook, 1.0),
    });
    std::vector<std::string> clips;
    for (const LineOutcome& outcome : ordered)
        clips.push_back(outcome.clip);
    EXPECT_EQ(clips, (std::vector<std::string>{"broken.wav", "edited.wav", "unsure.wav", "sure.wav",
                                               "no text.wav"}));
    const std::string tsv = reportTsv(ordered);
    EXPECT_EQ(tsv.substr(0, tsv.find('\n')),
              "clip\tstatus\treason\tproject\tseconds\trows\tleft_out\tnot_reached\tconfidence");
    EXPECT_NE(tsv.find("unsure.wav\tup to date\t\t\t0.000\t0\t0\t0\t0.400\n"), std::string::npos);
    const std::string json = reportJson(ordered);
    EXPECT_NE(json.find("{\"clip\": \"broken.wav\", \"status\": \"failed\""), std::string::npos);
    EXPECT_NE(json.find("\"confidence\": null"), std::string::npos);
    EXPECT_TRUE(isJsonReport("a/report.JSON"));
    EXPECT_FALSE(isJsonReport("report.tsv"));
}

} // namespace
} // namespace visemer::tool
