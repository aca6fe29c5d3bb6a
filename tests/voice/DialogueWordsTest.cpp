// The dialogue's words as the pronouncing dictionary is asked for them.

#include "voice/DialogueWords.h"

#include <gtest/gtest.h>

namespace visemer {
namespace {

std::string joined(const std::vector<DialogueWord>& words) {
    std::string out;
    for (const DialogueWord& word : words)
        out += (out.empty() ? "" : " ") + std::string(word.afterBreak ? "|" : "") + word.text;
    return out;
}

TEST(DialogueWords, LowerCaseWordsWithPausesOnlyAtPunctuation) {
    EXPECT_EQ(joined(dialogueWords("Peter picked a peck, of PICKLED peppers.\nWhere's it?")),
              "|peter picked a peck |of pickled peppers |where's it");
    EXPECT_EQ(joined(dialogueWords("'Quoted' words -- and well-known ones")),
              "|quoted words and well known ones");
    EXPECT_EQ(joined(dialogueWords("  \n\t ")), "");
}

TEST(DialogueWords, LettersOutsideAsciiStayInTheirWords) {
    EXPECT_EQ(joined(dialogueWords("na\u00EFve caf\u00E9 r\u00E9sum\u00E9 Zo\u00EB")),
              "|na\u00EFve caf\u00E9 r\u00E9sum\u00E9 zo\u00EB");
    EXPECT_EQ(joined(dialogueWords("Don\u2019t \u2014 \u00ABwait\u00BB")), "|don't |wait");
}

} // namespace
} // namespace visemer
