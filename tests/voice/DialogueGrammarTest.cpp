// The grammar a dialogue is aligned with, and reading the aligned phones
// back as the dialogue's words.

#include "voice/DialogueGrammar.h"
#include "voice/PhoneRecognizer.h"

#include <gtest/gtest.h>

namespace visemer {
namespace {

// "the cat, sat": two spellings of "the", a comma before "sat".
Pronunciations theCatSat() {
    Pronunciations words;
    words.words = {{"DH AH", "DH IY"}, {"K AE T"}, {"S AE T"}};
    words.afterBreak = {true, false, true};
    return words;
}

std::vector<std::string> phones(const std::string& text) {
    std::vector<std::string> out;
    std::string phone;
    for (const char c : text + " ") {
        if (c != ' ') {
            phone += c;
        } else if (!phone.empty()) {
            out.push_back(phone);
            phone.clear();
        }
    }
    return out;
}

TEST(DialogueGrammar, SpellsEveryWordWithPausesAtPunctuationOnly) {
    EXPECT_EQ(dialogueGrammar(theCatSat(), 0, 3, false),
              "#JSGF V1.0;\ngrammar dialogue;\npublic <dialogue> = [ pause ] ( ph_dh ph_ah | "
              "ph_dh ph_iy ) ( ph_k ph_ae ph_t ) [ pause ] ( ph_s ph_ae ph_t ) [ pause ];\n");
    // A stretch of a long clip may end after any word, and starts where it
    // is told to.
    EXPECT_EQ(dialogueGrammar(theCatSat(), 1, 3, true),
              "#JSGF V1.0;\ngrammar dialogue;\npublic <dialogue> = [ pause ] ( ph_k ph_ae ph_t ) "
              "[ [ pause ] ( ph_s ph_ae ph_t ) ] [ pause ];\n");
}

TEST(DialogueGrammar, AlignedPhonesReadBackAsWords) {
    const Pronunciations words = theCatSat();
    EXPECT_EQ(wordEnds(phones("DH IY K AE T S AE T"), words, 0),
              (std::vector<std::size_t>{2, 5, 8}));
    // A stretch that stops part of the way through.
    EXPECT_EQ(wordEnds(phones("DH AH K AE T"), words, 0), (std::vector<std::size_t>{2, 5}));
    EXPECT_EQ(wordEnds(phones("K AE T S AE"), words, 1), (std::vector<std::size_t>{3}));
    EXPECT_EQ(wordEnds(phones("DH OW"), words, 0), std::vector<std::size_t>{});
    EXPECT_EQ(wordEnds({}, words, 0), std::vector<std::size_t>{});
}

TEST(DialogueGrammar, ReadingBackTriesOtherSpellingsAndStaysQuick) {
    // "a" may be one phone or two; only the longer reading fits here.
    Pronunciations words;
    words.words = {{"AH", "AH N"}, {"N AA"}};
    words.afterBreak = {true, false};
    EXPECT_EQ(wordEnds(phones("AH N N AA"), words, 0), (std::vector<std::size_t>{2, 4}));

    // Many words, each with two readings, that fail only at the very end:
    // without remembering dead ends this would take 2^80 steps.
    Pronunciations many;
    for (int i = 0; i < 80; ++i) {
        many.words.push_back({"AH", "AH AH"});
        many.afterBreak.push_back(false);
    }
    std::string spoken;
    for (int i = 0; i < 100; ++i)
        spoken += "AH ";
    EXPECT_EQ(wordEnds(phones(spoken + "ZH"), many, 0).size(), 80u);
}

} // namespace
} // namespace visemer
