#pragma once

#include <string>
#include <vector>

namespace visemer {

// The words of a dialogue, lower case, as the dictionary lists them, each
// marked when punctuation stands between it and the word before.
struct DialogueWord {
    std::string text;
    bool afterBreak = false;
};
std::vector<DialogueWord> dialogueWords(const std::string& text);

// The dialogue's words as the dictionary spells them.
struct Pronunciations {
    // Each known word with its spellings: phones separated by spaces.
    std::vector<std::vector<std::string>> spellings;
    // For each known word: whether a comma, a full stop or another mark
    // stands before it, where a speaker may pause.
    std::vector<bool> afterBreak;
    std::vector<std::string> unknown; // words the dictionary lacks, in order
};

// Words as one line: "a, b, c".
std::string joinedWords(const std::vector<std::string>& words);

} // namespace visemer
