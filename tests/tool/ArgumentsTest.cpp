// The subcommands' command lines, as the tool reads them.

#include "tool/Arguments.h"
#include "tool/TimingFiles.h"

#include <gtest/gtest.h>

namespace visemer::tool {
namespace {

const std::vector<Arguments::Option> kOptions = {
    {"output", true}, {"fps", true}, {"projector", false}};

std::string usageErrorOf(const std::vector<std::string>& words) {
    try {
        Arguments arguments(words, kOptions);
        arguments.number("fps", 12, 30);
        arguments.expectPositional(1, 1);
    } catch (const UsageError& error) {
        return error.what();
    }
    return "no error";
}

TEST(Arguments, OptionsInEveryFormAndTheRestInOrder) {
    const Arguments arguments(
        {"a.wav", "--fps", "24", "--output=x.vsq", "--projector", "--", "--not-an-option", "-"},
        kOptions);
    EXPECT_EQ(arguments.number("fps", 12, 30), 24);
    EXPECT_EQ(arguments.value("output"), "x.vsq");
    EXPECT_TRUE(arguments.has("projector"));
    EXPECT_EQ(arguments.positional(), (std::vector<std::string>{"a.wav", "--not-an-option", "-"}))
        << "after \"--\" every word is an argument, and \"-\" always is";
    EXPECT_FALSE(Arguments({"a.wav"}, kOptions).number("fps", 12, 30).has_value());
    EXPECT_EQ(Arguments({"a.wav", "-o", "y.vsq"}, kOptions).value("output"), "y.vsq")
        << "-o stands for --output";
    EXPECT_THROW(Arguments({"a.wav", "-o", "y.vsq"}, {{"fps", true}}), UsageError);
}

TEST(Arguments, WrongUseSaysWhatIsWrong) {
    EXPECT_EQ(usageErrorOf({"a.wav", "--loud"}), "unknown option --loud");
    EXPECT_EQ(usageErrorOf({"a.wav", "-x"}), "unknown option -x");
    EXPECT_EQ(usageErrorOf({"a.wav", "-o"}), "--output needs a value");
    EXPECT_EQ(usageErrorOf({"a.wav", "--fps"}), "--fps needs a value");
    EXPECT_EQ(usageErrorOf({"a.wav", "--projector=yes"}), "--projector takes no value");
    for (const char* fps : {"31", "11", "", "24.5", "0x18", "24 ", "99999999999999"})
        EXPECT_EQ(usageErrorOf({"a.wav", "--fps", fps}), "--fps takes a whole number from 12 to 30")
            << fps;
    EXPECT_EQ(usageErrorOf({}), "missing arguments");
    EXPECT_EQ(usageErrorOf({"a.wav", "b.wav"}), "unexpected argument b.wav");
}

TEST(Formats, NamedOrByExtensionWithoutRegardToCase) {
    EXPECT_EQ(formatNamed("cues-json"), Format::CueJson);
    EXPECT_EQ(formatNamed("xml"), std::nullopt);
    EXPECT_EQ(formatOfPath("take.VSQ"), Format::Project);
    EXPECT_EQ(formatOfPath("dir.v/take.mou"), Format::Reduced);
    EXPECT_EQ(formatOfPath("cues.tsv"), Format::CueTsv);
    EXPECT_EQ(formatOfPath("mouth.dat"), Format::Switch);
    EXPECT_EQ(formatOfPath("timing.json"), Format::TimingJson);
    EXPECT_EQ(formatOfPath("take.wav"), std::nullopt);
    EXPECT_EQ(formatOfPath("folder.vsq/take"), std::nullopt);
    EXPECT_EQ(formatOfPath("-"), std::nullopt);
}

} // namespace
} // namespace visemer::tool
