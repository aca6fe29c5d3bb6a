#include "voice/DialogueGrammar.h"

#include "voice/PhoneRecognizer.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <sstream>
#include <utility>

namespace visemer {
namespace {

std::vector<std::string> phonesOf(const std::string& spelling) {
    std::vector<std::string> phones;
    std::istringstream split(spelling);
    for (std::string phone; split >> phone;)
        phones.push_back(phone);
    return phones;
}

} // namespace

std::string phoneWord(const std::string& phone) {
    std::string word = "ph_";
    for (const char c : phone)
        word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return word;
}

PhoneGraph dialogueGraph(const Pronunciations& dialogue, std::size_t from, std::size_t to,
                         bool mayStopEarly) {
    PhoneGraph graph;
    const auto state = [&graph] { return graph.states++; };
    const auto arc = [&graph](int a, int b, std::string word) {
        graph.arcs.push_back({a, b, std::move(word)});
    };
    const auto mayPause = [&](int a, int b) {
        arc(a, b, kPauseWord);
        arc(a, b, "");
    };
    graph.start = state();
    int at = state(); // before the next word
    mayPause(graph.start, at);
    const int firstWord = at;
    std::vector<int> afterWords;
    to = std::min(to, dialogue.words.size());
    for (std::size_t word = from; word < to; ++word) {
        if (word > from && dialogue.afterBreak[word]) {
            const int next = state();
            mayPause(at, next);
            at = next;
        }
        const int after = state();
        for (const std::string& spelling : dialogue.words[word]) {
            const auto phones = phonesOf(spelling);
            int last = at;
            for (std::size_t i = 0; i < phones.size(); ++i) {
                const int next = i + 1 == phones.size() ? after : state();
                arc(last, next, phoneWord(phones[i]));
                last = next;
            }
        }
        afterWords.push_back(after);
        at = after;
    }
    // A stretch may stop after any word, or hold no word at all: only a
    // pause, in a long silence.
    if (mayStopEarly) {
        arc(firstWord, at, "");
        for (std::size_t i = 0; i + 1 < afterWords.size(); ++i)
            arc(afterWords[i], at, "");
    }
    graph.final = state();
    mayPause(at, graph.final);
    return graph;
}

std::vector<std::size_t> wordEnds(const std::vector<std::string>& phones,
                                  const Pronunciations& dialogue, std::size_t from) {
    // Depth first over the spellings; the first way that uses every phone
    // wins, else the one that reached furthest.
    // Places already found to lead nowhere are not searched again, so
    // words with many spellings cannot make this exponential.
    std::vector<std::size_t> best, path;
    std::set<std::pair<std::size_t, std::size_t>> deadEnds;
    const auto search = [&](auto&& self, std::size_t word, std::size_t at) -> bool {
        if (path.size() > best.size())
            best = path;
        if (at == phones.size())
            return true;
        if (word >= dialogue.words.size() || deadEnds.count({word, at}))
            return false;
        for (const std::string& spelling : dialogue.words[word]) {
            const auto spelled = phonesOf(spelling);
            if (spelled.empty() || at + spelled.size() > phones.size() ||
                !std::equal(spelled.begin(), spelled.end(), phones.begin() + at))
                continue;
            path.push_back(at + spelled.size());
            if (self(self, word + 1, at + spelled.size())) {
                best = path;
                return true;
            }
            path.pop_back();
        }
        deadEnds.insert({word, at});
        return false;
    };
    search(search, from, 0);
    return best;
}

} // namespace visemer
