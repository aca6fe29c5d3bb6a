// The grammar a dialogue is aligned with, and reading the aligned phones
// back as the dialogue's words.

#include "voice/DialogueGrammar.h"
#include "voice/DialogueWords.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace visemer {
namespace {

// "the cat, sat": two spellings of "the", a comma before "sat".
Pronunciations theCatSat() {
    Pronunciations words;
    words.spellings = {{"DH AH", "DH IY"}, {"K AE T"}, {"S AE T"}};
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
    const PhoneGraph whole = dialogueGraph(theCatSat(), 0, 3, false, 0);
    EXPECT_TRUE(accepts(whole, "ph_dh ph_ah ph_k ph_ae ph_t ph_s ph_ae ph_t"));
    EXPECT_TRUE(accepts(whole, "pause ph_dh ph_iy ph_k ph_ae ph_t pause ph_s ph_ae ph_t pause"));
    EXPECT_FALSE(accepts(whole, "ph_dh ph_ah pause ph_k ph_ae ph_t ph_s ph_ae ph_t"));
    EXPECT_FALSE(accepts(whole, "ph_dh ph_ah ph_k ph_ae ph_t"));
    EXPECT_FALSE(accepts(whole, "ph_dh ph_ah ph_iy ph_k ph_ae ph_t ph_s ph_ae ph_t"));
    EXPECT_FALSE(accepts(whole, ""));
    EXPECT_FALSE(accepts(whole, "pause"));

    // A passage of a long clip may end after any word, and starts where it
    // is told to.
    const PhoneGraph passage = dialogueGraph(theCatSat(), 1, 3, true, 0);
    EXPECT_TRUE(accepts(passage, "ph_k ph_ae ph_t pause"));
    EXPECT_TRUE(accepts(passage, "ph_k ph_ae ph_t pause ph_s ph_ae ph_t"));
    EXPECT_TRUE(accepts(passage, "pause"));
    EXPECT_FALSE(accepts(passage, "ph_k ph_ae"));
    EXPECT_FALSE(accepts(passage, "ph_dh ph_ah ph_k ph_ae ph_t"));
}

// The words read, as "word:end" pairs.
std::string read(const std::string& spoken, const Pronunciations& words, std::size_t from,
                 std::size_t mostSkipped = 0) {
    std::string out;
    for (const WordRead& word : readWords(phones(spoken), words, from, mostSkipped))
        out +=
            (out.empty() ? "" : " ") + std::to_string(word.word) + ":" + std::to_string(word.end);
    return out;
}

TEST(DialogueGrammar, AlignedPhonesReadBackAsWords) {
    const Pronunciations words = theCatSat();
    EXPECT_EQ(read("DH IY K AE T S AE T", words, 0), "0:2 1:5 2:8");
    // A passage that stops part of the way through.
    EXPECT_EQ(read("DH AH K AE T", words, 0), "0:2 1:5");
    EXPECT_EQ(read("K AE T S AE", words, 1), "1:3");
    EXPECT_EQ(read("DH OW", words, 0), "");
    EXPECT_EQ(read("", words, 0), "");
}

TEST(DialogueGrammar, APassageMayLeapOverWordsTheVoiceDoesNotSay) {
    // From its start, over any words.
    const PhoneGraph graph = dialogueGraph(theCatSat(), 0, 3, true, 2);
    EXPECT_TRUE(accepts(graph, "ph_k ph_ae ph_t"));
    EXPECT_TRUE(accepts(graph, "pause ph_s ph_ae ph_t pause"));
    EXPECT_FALSE(accepts(dialogueGraph(theCatSat(), 0, 3, true, 1), "ph_s ph_ae ph_t"));
    EXPECT_EQ(read("S AE T", theCatSat(), 0, 2), "2:3");
    // Later on, not at all: a passage starts where its voice does.
    Pronunciations phrases = theCatSat();
    phrases.spellings.push_back({"D AO G"});
    phrases.afterBreak.push_back(true);
    const PhoneGraph later = dialogueGraph(phrases, 0, 4, false, 3);
    EXPECT_FALSE(accepts(later, "ph_dh ph_ah ph_k ph_ae ph_t pause ph_d ph_ao ph_g"));
    EXPECT_EQ(read("DH AH K AE T D AO G", phrases, 0, 3), "0:2 1:5");
    // The fewest words are left out that read every phone.
    EXPECT_EQ(read("DH AH K AE T S AE T", phrases, 0, 3), "0:2 1:5 2:8");
    EXPECT_EQ(read("K AE T S AE T", phrases, 0, 3), "1:3 2:6");
    // Each word left out makes a leap less likely.
    double longest = 0, shortest = -1e300;
    for (const auto& arc : dialogueGraph(phrases, 0, 4, false, 3).arcs)
        if (arc.logProbability < 0) {
            longest = std::min(longest, arc.logProbability);
            shortest = std::max(shortest, arc.logProbability);
        }
    EXPECT_GT(shortest, longest);
}

TEST(DialogueGrammar, ReadingBackTriesOtherSpellingsAndStaysQuick) {
    // "a" may be one phone or two; only the longer reading fits here.
    Pronunciations words;
    words.spellings = {{"AH", "AH N"}, {"N AA"}};
    words.afterBreak = {true, false};
    EXPECT_EQ(read("AH N N AA", words, 0), "0:2 1:4");

    // Many words, each with two readings, that fail only at the very end:
    // without remembering dead ends this would take 2^80 steps.
    Pronunciations many;
    for (int i = 0; i < 80; ++i) {
        many.spellings.push_back({"AH", "AH AH"});
        many.afterBreak.push_back(i % 4 == 0);
    }
    std::string spoken;
    for (int i = 0; i < 100; ++i)
        spoken += "AH ";
    EXPECT_EQ(readWords(phones(spoken + "ZH"), many, 0, 20).back().end, 100u);
}

} // namespace
} // namespace visemer
