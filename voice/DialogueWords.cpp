#include "voice/DialogueWords.h"

#include "text/AsciiCase.h"

#include <cctype>
#include <string_view>

namespace visemer {

std::vector<DialogueWord> dialogueWords(const std::string& text) {
    std::vector<DialogueWord> words;
    std::string word;
    bool broken = true;
    const auto flush = [&] {
        // Apostrophes belong to a word ("don't") but not at its edges.
        while (!word.empty() && word.front() == '\'')
            word.erase(word.begin());
        while (!word.empty() && word.back() == '\'')
            word.pop_back();
        if (!word.empty()) {
            words.push_back({foldedAsciiCase(word), broken});
            broken = false;
        }
        word.clear();
    };
    for (std::size_t at = 0; at < text.size(); ++at) {
        const auto c = static_cast<unsigned char>(text[at]);
        if (c >= 0x80) {
            // UTF-8: letters outside ASCII belong to their word whole; the
            // typographic apostrophe is an apostrophe, and the punctuation
            // of the general block, the guillemets and the inverted marks
            // break as their ASCII kin do.
            const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
            const std::string_view letter = std::string_view(text).substr(at, length);
            at += letter.size() - 1;
            if (letter == "\u2019" || letter == "\u2018") {
                word += '\'';
            } else if (letter == "\u00A0") {
                flush();
            } else if (letter.size() == 3 && static_cast<unsigned char>(letter[0]) == 0xE2 &&
                       static_cast<unsigned char>(letter[1]) <= 0x81) {
                flush();
                broken = true;
            } else if (letter == "\u00AB" || letter == "\u00BB" || letter == "\u00BF" ||
                       letter == "\u00A1") {
                flush();
                broken = true;
            } else {
                word += letter;
            }
            continue;
        }
        if (std::isalnum(c) || c == '\'') {
            word += static_cast<char>(c);
            continue;
        }
        flush();
        if (std::ispunct(c) && c != '-')
            broken = true;
    }
    flush();
    return words;
}

std::string joinedWords(const std::vector<std::string>& words) {
    std::string list;
    for (const std::string& word : words)
        list += (list.empty() ? "" : ", ") + word;
    return list;
}

} // namespace visemer
