// The timing files of other tools and this program's own JSON.

#include "exchange/TimingFormats.h"
#include "exchange/Vocabulary.h"

#include <gtest/gtest.h>

namespace visemer {
namespace {

using Stretches = std::vector<TimedLabel>;

std::string messageOf(const std::function<void()>& read) {
    try {
        read();
    } catch (const FormatError& error) {
        return error.what();
    }
    return "no error";
}

void expectStretches(const Stretches& got, const Stretches& expected) {
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_NEAR(got[i].startMs, expected[i].startMs, 1e-6) << i;
        EXPECT_NEAR(got[i].endMs, expected[i].endMs, 1e-6) << i;
        EXPECT_EQ(got[i].label, expected[i].label) << i;
    }
}

TEST(CueTsv, ReadsStartsAndShapesEachCueLastingToTheNextAndTheLastXAsTheEnd) {
    expectStretches(readCueTsv("0.00\tX\n0.25\tD\r\n\n0.5\tA\n0.75\tX\n"),
                    {{0, 250, "Closed"}, {250, 500, "A"}, {500, 750, "B"}});
    // Without its end the last cue has no length.
    expectStretches(readCueTsv("0\tX\n0.5\tA\n"), {{0, 500, "Closed"}, {500, 500, "B"}});
}

TEST(CueTsv, TimesArePlainDecimalsNoLongerThanTheEditorWaits) {
    for (const char* time : {"0x1p0", "1e2", "inf", "nan", "1.2.3", "", "."})
        EXPECT_EQ(messageOf([time] { readCueTsv(std::string(time) + "\tA\n"); }),
                  "line 1: expected a time in seconds and a mouth shape")
            << time;
    EXPECT_EQ(messageOf([] { readCueTsv("0\tA\n1e300\tX\n"); }),
              "line 2: expected a time in seconds and a mouth shape");
    EXPECT_EQ(messageOf([] { readCueTsv("0\tA\n2147484\tX\n"); }),
              "line 2: the time 2147484 s is past the longest the editor times (2147483.647 s)");
    EXPECT_EQ(readCueTsv("0\tA\n2147483.647\tX\n").back().endMs, 2147483647.0);
}

TEST(CueTsv, NamesTheLineOfAFault) {
    EXPECT_EQ(messageOf([] { readCueTsv("0.00\tX\n0.25\tQ\n"); }),
              "line 2: \"Q\" is not one of the shapes A to H, X");
    EXPECT_EQ(messageOf([] { readCueTsv("0.00\tX\nzero\tA\n"); }),
              "line 2: expected a time in seconds and a mouth shape");
    EXPECT_EQ(messageOf([] { readCueTsv("0.5\tX\n0.25\tA\n"); }), "line 2: the time goes back");
    EXPECT_EQ(messageOf([] { readCueTsv("\n\n"); }), "no cues in the file");
}

TEST(CueTsv, WritesOneLinePerChangeOfShapeAndTheEnd) {
    const Stretches stretches{{0, 100, "Closed"},
                              {100, 200, "A"},
                              {200, 300, "I"},
                              {300, 450, "M"},
                              {450, 500, "Closed"}};
    EXPECT_EQ(writeCueTsv(stretches), "0\tX\n0.1\tD\n0.3\tA\n0.45\tX\n0.5\tX\n");
}

TEST(CueJson, ReadsAndWritesTheCueList) {
    const std::string text = R"({"metadata": {"soundFile": "a.wav", "duration": 0.6},
        "mouthCues": [ {"start": 0.0, "end": 0.2, "value": "X"},
                       {"start": 0.2, "end": 0.6, "value": "F"} ]})";
    const CueList cues = readCueJson(text);
    expectStretches(cues.stretches, {{0, 200, "Closed"}, {200, 600, "W"}});
    EXPECT_EQ(cues.soundFile, "a.wav");
    EXPECT_EQ(writeCueJson({{0, 200, "Closed"}, {200, 600, "U"}}, "a.wav"),
              "{\n  \"metadata\": {\n    \"soundFile\": \"a.wav\",\n    \"duration\": 0.6\n  },\n"
              "  \"mouthCues\": [\n"
              "    { \"start\": 0, \"end\": 0.2, \"value\": \"X\" },\n"
              "    { \"start\": 0.2, \"end\": 0.6, \"value\": \"F\" }\n  ]\n}\n");
    EXPECT_EQ(messageOf([] {
                  readCueJson("{\"mouthCues\": [\n{\"start\": 1, \"end\": 0.5, "
                              "\"value\": \"A\"}]}");
              }),
              "cue 1: the cue ends before it starts");
    EXPECT_EQ(messageOf([] { readCueJson("{\"mouthCues\": [\n{\"start\": 1,,}]}"); }).substr(0, 17),
              "line 2, column 13");
    EXPECT_EQ(messageOf([] {
                  readCueJson(
                      "{\"mouthCues\": [{\"start\": 0, \"end\": 1e300, \"value\": \"A\"}]}");
              }),
              "cue 1: the time 1e+300 s is past the longest the editor times (2147483.647 s)");
}

TEST(CueJson, ANumberTooLargeForADoubleIsAFaultOfTheFile) {
    EXPECT_EQ(messageOf([] { readCueJson("8E888888888888888888"); }),
              "number overflow parsing '8E888888888888888888'");
    EXPECT_EQ(jsonTimingIn("8E888888888888888888"), JsonTiming::Other);
}

// The clip's path outlives the parse that found it, however long it is.
TEST(CueJson, KeepsALongSoundFileWhole) {
    const std::string path = "/home/animator/projects/episode-12/voices/" + std::string(300, 'x') +
                             "/take1 \u00E9t\u00E9.wav";
    const std::string text = writeCueJson({{0, 500, "A"}}, path);
    EXPECT_EQ(readCueJson(text).soundFile, path);
}

TEST(SwitchData, FramesCountFromOneAtTheirOwnRate) {
    expectStretches(readSwitchData("MohoSwitch1\n1 rest\n13 AI\n25 MBP\n", 24),
                    {{0, 500, "Closed"}, {500, 1000, "A"}, {1000, 1000, "B"}});
    EXPECT_EQ(
        writeSwitchData(
            {{0, 500, "Closed"}, {500, 520, "E"}, {520, 1000, "U"}, {1000, 1000, "Closed"}}, 24),
        "MohoSwitch1\n1 rest\n13 U\n25 rest\n")
        << "a change that falls on the same frame as the next gives way to it";
    EXPECT_EQ(messageOf([] { readSwitchData("1 rest\n", 24); }),
              "line 1: expected the header \"MohoSwitch1\"");
    EXPECT_EQ(messageOf([] { readSwitchData("MohoSwitch1\n1 rest\n0 AI\n", 24); }),
              "line 3: expected a frame number from 1 and a mouth name");
    EXPECT_EQ(messageOf([] { readSwitchData("MohoSwitch1\n1 smile\n", 24); }),
              "line 2: \"smile\" is not a mouth name");
    // Blanks after the header.
    expectStretches(readSwitchData("MohoSwitch1 \r\n1 rest\n", 24), {{0, 0, "Closed"}});
}

TEST(SwitchData, CueLettersNameTheMouthsWhereTheFileUsesThem) {
    // E is a mouth name and a cue letter; the first name only one set has
    // (X) decides.
    const auto labelOfCue = [](char cue) {
        return std::string(Vocabulary::labelOfDrawing(*Vocabulary::drawingOfCueShape(cue)));
    };
    expectStretches(readSwitchData("MohoSwitch1\n1 E\n7 X\n13 A\n19 D\n", 24),
                    {{0, 250, labelOfCue('E')},
                     {250, 500, "Closed"},
                     {500, 750, labelOfCue('A')},
                     {750, 750, labelOfCue('D')}});
    EXPECT_EQ(readSwitchData("MohoSwitch1\n1 E\n", 24).front().label, "E");
    EXPECT_NE(readSwitchData("MohoSwitch1\n1 E\n", 24, SwitchNames::Cues).front().label, "E");
    EXPECT_EQ(messageOf([] { readSwitchData("MohoSwitch1\n1 X\n5 MBP\n", 24); }),
              "line 3: \"MBP\" is not a cue letter (A to H, X), as the file's others are");
    EXPECT_EQ(messageOf([] { readSwitchData("MohoSwitch1\n1 X\n", 24, SwitchNames::Mouths); }),
              "line 2: \"X\" is not a mouth name");
}

TEST(TimingJson, KeepsEveryTextOfTheRowsAndSettings) {
    Timing timing;
    timing.rows = {{"A", "2"}, {"Closed", ""}, {"Xylo\"phone", "-3"}, {"", "abc"}};
    timing.fps = "24";
    timing.browser = false;
    timing.audio = "/voice/take \\1.wav";
    const std::string text = writeTimingJson(timing);
    EXPECT_EQ(readTimingJson(text), timing);
    EXPECT_NE(text.find("{ \"label\": \"A\", \"delay\": \"2\", \"startMs\": 0, \"endMs\": "
                        "166.667, \"drawing\": \"A\", \"clipFrame\": 2 }"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\"drawing\": null, \"clipFrame\": null"), std::string::npos);

    Timing reduced;
    reduced.reduced = true;
    reduced.fps.clear();
    reduced.browser = false;
    reduced.rows = {{"O", "1"}};
    EXPECT_EQ(readTimingJson(writeTimingJson(reduced)), reduced);
}

TEST(TimingJson, RefusesOtherFilesWithTheirLine) {
    EXPECT_EQ(messageOf([] { readTimingJson("{\"mouthCues\": []}"); }),
              "expected an object with \"format\": \"visemer-timing\"");
    EXPECT_EQ(messageOf([] {
                  readTimingJson("{\"format\": \"visemer-timing\", \"version\": 1,\n"
                                 "\"kind\": \"project\", \"timing\": \"browser\",\n"
                                 "\"rows\": [\n{\"label\": \"A\", \"delay\": 2}]}");
              }),
              "row 1: expected \"delay\" as a string");
    EXPECT_EQ(messageOf([] { readTimingJson("{\"format\": \"visemer-timing\", \"version\": 2}"); }),
              "version 2 is not one this program reads");
    EXPECT_EQ(messageOf([] { readTimingJson(std::string(100000, '[')); }).substr(0, 21),
              "line 1, column 100001");
    EXPECT_EQ(jsonTimingIn(writeTimingJson(Timing{})), JsonTiming::Timing);
    EXPECT_EQ(jsonTimingIn("{\"mouthCues\": []}"), JsonTiming::Cues);
    EXPECT_EQ(jsonTimingIn("hello world"), JsonTiming::Other);
}

} // namespace
} // namespace visemer
