// What the tool reads and where it may write: inputs are regular files,
// outputs never an input, dialogue text UTF-8 or marked UTF-16.

#include "tool/FileChecks.h"
#include "tests/support/TempDir.h"
#include "tool/Arguments.h"
#include "tool/DialogueText.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace visemer::tool {
namespace {

std::string inputErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const InputError& error) {
        return error.what();
    }
    return "no error";
}

class FileChecks : public ::testing::Test {
protected:
    std::string make(const std::string& name, const std::string& bytes = "x") {
        const std::string path = dir_.file(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    testing::TempDir dir_;
};

TEST_F(FileChecks, AnOutputIsNeverAnInputEvenThroughALink) {
    const std::string voice = make("voice.wav");
    const std::string link = dir_.file("link.vsq");
    std::filesystem::create_symlink(voice, link);
    const std::string hard = dir_.file("hard.vsq");
    std::filesystem::create_hard_link(voice, hard);
    EXPECT_EQ(inputErrorOf([&] { checkOutput(voice, {voice}); }),
              "will not write " + voice + ": it is the input; name another output");
    for (const std::string& other : {link, hard})
        EXPECT_EQ(inputErrorOf([&] {
                      checkOutput(other, {"text.txt", voice});
                  }),
                  "will not write " + other + ": it is the input " + voice +
                      "; name another output");
    EXPECT_EQ(inputErrorOf([&] { checkOutput(dir_.file("new.vsq"), {voice}); }), "no error");
    EXPECT_EQ(inputErrorOf([&] { checkOutput(make("old.vsq"), {voice}); }), "no error");
    EXPECT_EQ(inputErrorOf([&] { checkOutput(kStandardOutput, {voice}); }), "no error");
}

TEST_F(FileChecks, WhatCannotHoldAFileIsRefusedWithItsReason) {
    EXPECT_EQ(inputErrorOf([&] { checkOutput(dir_.path(), {}); }),
              "cannot write " + dir_.path() + ": it is a folder");
    EXPECT_EQ(inputErrorOf([] { checkOutput("/dev/null", {}); }),
              "cannot write /dev/null: it is a device, not a file");
    EXPECT_EQ(inputErrorOf([&] { checkOutput(dir_.file("none/x.vsq"), {}); }),
              "cannot write " + dir_.file("none/x.vsq") + ": the folder " + dir_.file("none") +
                  " does not exist");
    const std::string notFolder = make("plain");
    EXPECT_EQ(inputErrorOf([&] { checkOutput(notFolder + "/x.vsq", {}); }),
              "cannot write " + notFolder + "/x.vsq: Not a directory");
    const std::string fifo = dir_.file("pipe.vsq");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(inputErrorOf([&] { readWholeFile(fifo); }),
              "cannot read " + fifo + ": it is a FIFO, not a file");
    EXPECT_EQ(inputErrorOf([&] { readWholeFile(dir_.file("missing")); }),
              "cannot read " + dir_.file("missing") + ": No such file or directory");
    EXPECT_EQ(inputErrorOf([&] { checkInput(dir_.path()); }),
              "cannot read " + dir_.path() + ": it is a folder");
}

TEST_F(FileChecks, WholeFilesAreReadAsTheyAre) {
    const std::string bytes("a\0b\r\n\xff", 6);
    EXPECT_EQ(readWholeFile(make("bytes", bytes)), bytes);
    const std::string large(300000, 'q');
    EXPECT_EQ(readWholeFile(make("large", large)), large);
}

TEST(WhatItLooksLike, NamesTheCommonKindsOfFile) {
    EXPECT_EQ(whatItLooksLike(""), "it is empty");
    EXPECT_EQ(whatItLooksLike(std::string("RIFF\x24\0\0\0WAVEfmt ", 16)),
              "it looks like a WAV clip");
    EXPECT_EQ(whatItLooksLike("ID3\x04"), "it looks like an MP3 clip");
    EXPECT_EQ(whatItLooksLike("\x89PNG\r\n"), "it looks like a PNG picture");
    EXPECT_EQ(whatItLooksLike("  {\"mouthCues\": []}"), "it looks like JSON");
    EXPECT_EQ(whatItLooksLike("MohoSwitch1\n1 rest\n"), "it looks like switch data");
    EXPECT_EQ(whatItLooksLike(std::string("ab\0cd", 5)), "it holds binary data");
    EXPECT_EQ(whatItLooksLike("hello world\n"), "it is text with no [Frames] group");
}

TEST(DialogueText, Utf8AsItIsAndUtf16ByItsMark) {
    const std::string text = "Caf\xC3\xA9 \xE2\x80\x99 \xF0\x9F\x98\x80";
    EXPECT_EQ(dialogueAsUtf8(text, "t"), text);
    EXPECT_EQ(dialogueAsUtf8("\xEF\xBB\xBF" + text, "t"), text) << "the mark is dropped";
    // "Caf\u00E9 \U0001F600" as UTF-16, little and big end first.
    const std::string little("\xFF\xFE"
                             "C\0a\0f\0\xE9\0 \0\x3D\xD8\x00\xDE",
                             16);
    const std::string big("\xFE\xFF"
                          "\0C\0a\0f\0\xE9\0 \xD8\x3D\xDE\x00",
                          16);
    EXPECT_EQ(dialogueAsUtf8(little, "t"), "Caf\xC3\xA9 \xF0\x9F\x98\x80");
    EXPECT_EQ(dialogueAsUtf8(big, "t"), "Caf\xC3\xA9 \xF0\x9F\x98\x80");
}

TEST(DialogueText, AnythingElseIsRefusedAtItsFirstOddByte) {
    const auto refusal = [](const std::string& bytes) {
        return inputErrorOf([&] { dialogueAsUtf8(bytes, "d.txt"); });
    };
    EXPECT_EQ(refusal("caf\xE9"),
              "d.txt is not UTF-8 text (byte 4 is not); save the dialogue as UTF-8")
        << "Latin-1";
    EXPECT_EQ(refusal(std::string("H\0i\0", 4)),
              "d.txt is not UTF-8 text (byte 2 is not); save the dialogue as UTF-8")
        << "UTF-16 without its mark";
    EXPECT_EQ(refusal("\xC0\xAF"),
              "d.txt is not UTF-8 text (byte 1 is not); save the dialogue as UTF-8")
        << "an overlong form";
    EXPECT_EQ(refusal("\xED\xA0\x80"),
              "d.txt is not UTF-8 text (byte 1 is not); save the dialogue as UTF-8")
        << "a surrogate";
    EXPECT_EQ(refusal("ok \xE2\x80"),
              "d.txt is not UTF-8 text (byte 4 is not); save the dialogue as UTF-8")
        << "cut short";
    EXPECT_EQ(refusal(std::string("\xFF\xFE\x3D\xD8", 4)),
              "d.txt is not whole UTF-16 text: a lone surrogate at byte 3");
    EXPECT_EQ(refusal(std::string("\xFF\xFE"
                                  "A",
                                  3)),
              "d.txt is not whole UTF-16 text: it has an odd number of bytes");
}

} // namespace
} // namespace visemer::tool
