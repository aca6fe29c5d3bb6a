// The grammar a dialogue is aligned with, and reading the aligned phones
// back as the dialogue's words.

#include "voice/DialogueGrammar.h"
#include "voice/PhoneRecognizer.h"

#include <gtest/gtest.h>

#include <set>

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

// Whether the graph takes this sequence of words from its start to its end.
bool accepts(const PhoneGraph& graph, const std::string& words) {
    std::set<int> at{graph.start};
    const auto closeOverSilentArcs = [&] {
        for (bool grew = true; grew;) {
            grew = false;
            for (const auto& arc : graph.arcs)
                if (arc.word.empty() && at.count(arc.from) && at.insert(arc.to).second)
                    grew = true;
        }
    };
    closeOverSilentArcs();
    for (const std::string& word : phones(words)) {
        std::set<int> next;
        for (const auto& arc : graph.arcs)
            if (arc.word == word && at.count(arc.from))
                next.insert(arc.to);
        at = next;
        closeOverSilentArcs();
    }
    return at.count(graph.final) > 0;
}

TEST(DialogueGrammar, SpellsEveryWordWithPausesAtPunctuationOnly) {
    const PhoneGraph whole = dialogueGraph(theCatSat(), 0, 3, false);
    EXPECT_TRUE(accepts(whole, "ph_dh ph_ah ph_k ph_ae ph_t ph_s ph_ae ph_t"));
    EXPECT_TRUE(accepts(whole, "pause ph_dh ph_iy ph_k ph_ae ph_t pause ph_s ph_ae ph_t pause"));
    EXPECT_FALSE(accepts(whole, "ph_dh ph_ah pause ph_k ph_ae ph_t ph_s ph_ae ph_t"));
    EXPECT_FALSE(accepts(whole, "ph_dh ph_ah ph_k ph_ae ph_t"));
    EXPECT_FALSE(accepts(whole, "ph_dh ph_ah ph_iy ph_k ph_ae ph_t ph_s ph_ae ph_t"));
    EXPECT_FALSE(accepts(whole, ""));
    EXPECT_FALSE(accepts(whole, "pause"));

    // A stretch of a long clip may end after any word, and starts where it
    // is told to.
    const PhoneGraph stretch = dialogueGraph(theCatSat(), 1, 3, true);
    EXPECT_TRUE(accepts(stretch, "ph_k ph_ae ph_t pause"));
    EXPECT_TRUE(accepts(stretch, "ph_k ph_ae ph_t pause ph_s ph_ae ph_t"));
    EXPECT_TRUE(accepts(stretch, "pause"));
    EXPECT_FALSE(accepts(stretch, "ph_k ph_ae"));
    EXPECT_FALSE(accepts(stretch, "ph_dh ph_ah ph_k ph_ae ph_t"));
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
