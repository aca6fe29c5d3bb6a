#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <vector>

namespace visemer {

struct Pronunciations;

// The grammar's "word" for a phone: the phone itself, its model phone in
// lower case, with a prefix that no dictionary word has.
std::string phoneWord(const std::string& phone);

// Every phone the dialogue's spellings use.
std::set<std::string> phonesIn(const Pronunciations& dialogue);

// The name of the optional pause the grammar allows between phrases.
inline constexpr const char* kPauseWord = "pause";

// A grammar as states joined by arcs, each arc one word or none.
struct PhoneGraph {
    struct Arc {
        int from = 0;
        int to = 0;
        std::string word;          // empty: the arc is taken without a sound
        double logProbability = 0; // natural; leaps over many words underflow a double
    };
    int states = 0;
    int start = 0;
    int final = 0;
    std::vector<Arc> arcs;
};

// The grammar whose "words" are the phones of dialogue words [from, to),
// each word one of its spellings, with an optional pause at the start, at
// the end and where punctuation stands. Words of one phrase run on, so the
// silent closure of a stop is not taken for a pause. With mayStopEarly the
// voice may end after any of the words, or before the first: a passage cut
// from a longer clip holds only the first few of them, or none. Up to
// mostSkipped of the first words may be left out: leaving out n of them
// has the probability kSkipProbability * kSkipWordProbability^n.
PhoneGraph dialogueGraph(const Pronunciations& dialogue, std::size_t from, std::size_t to,
                         bool mayStopEarly, std::size_t mostSkipped);
inline constexpr double kSkipProbability = 1e-8;
inline constexpr double kSkipWordProbability = 1e-4;

// A dialogue word found among aligned phones.
struct WordRead {
    std::size_t word = 0; // its place in the dialogue
    std::size_t end = 0;  // how many phones there are up to its end
};

// Reads aligned phones back as the dialogue's words, from word `from` on,
// or from a word up to mostSkipped further on. Phones that do not spell
// the words give the words read before them.
std::vector<WordRead> readWords(const std::vector<std::string>& phones,
                                const Pronunciations& dialogue, std::size_t from,
                                std::size_t mostSkipped);

} // namespace visemer
