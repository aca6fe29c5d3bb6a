#include "voice/DialogueGrammar.h"

#include "text/AsciiCase.h"
#include "voice/DialogueWords.h"
#include "voice/ModelPhones.h"

#include <algorithm>
#include <cctype>
#include <cmath>
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

// Leaping over n words has this probability, as a logarithm.
double skippingLogProbability(std::size_t words) {
    return std::log(kSkipProbability) + static_cast<double>(words) * std::log(kSkipWordProbability);
}

} // namespace

std::string phoneWord(const std::string& phone) {
    const std::string_view model = modelPhoneOf(phone);
    return "ph_" + foldedAsciiCase(model) + phone.substr(model.size());
}

std::set<std::string> phonesIn(const Pronunciations& dialogue) {
    std::set<std::string> phones;
    for (const auto& spellings : dialogue.spellings)
        for (const std::string& spelling : spellings)
            for (std::string& phone : phonesOf(spelling))
                phones.insert(std::move(phone));
    return phones;
}

PhoneGraph dialogueGraph(const Pronunciations& dialogue, std::size_t from, std::size_t to,
                         bool mayStopEarly, std::size_t mostSkipped) {
    PhoneGraph graph;
    const auto state = [&graph] { return graph.states++; };
    const auto arc = [&graph](int a, int b, std::string word, double logProbability = 0) {
        graph.arcs.push_back({a, b, std::move(word), logProbability});
    };
    const auto mayPause = [&](int a, int b) {
        arc(a, b, kPauseWord);
        arc(a, b, "");
    };
    to = std::min(to, dialogue.spellings.size());
    graph.start = state();
    int at = state(); // before the next word
    mayPause(graph.start, at);
    std::vector<int> before, after; // the states around each word
    for (std::size_t word = from; word < to; ++word) {
        if (word > from && dialogue.afterBreak[word]) {
            const int next = state();
            mayPause(at, next);
            at = next;
        }
        before.push_back(at);
        const int end = state();
        for (const std::string& spelling : dialogue.spellings[word]) {
            const auto phones = phonesOf(spelling);
            int last = at;
            for (std::size_t i = 0; i < phones.size(); ++i) {
                const int next = i + 1 == phones.size() ? end : state();
                arc(last, next, phoneWord(phones[i]));
                last = next;
            }
        }
        after.push_back(end);
        at = end;
    }
    // Words the voice never says would otherwise be laid over the words it
    // does say, and everything after them would run late: a passage may
    // leap over its first few words, catching up with the voice. A leap
    // costs more for each word it leaves out, enough that a voice saying
    // more than the dialogue is not taken for one saying less.
    for (std::size_t target = 1; target < before.size() && target <= mostSkipped; ++target)
        arc(before[0], before[target], "", skippingLogProbability(target));
    // A passage may stop after any word, or hold no word at all: only a
    // pause, in a long silence.
    if (mayStopEarly && !before.empty()) {
        arc(before[0], at, "");
        for (std::size_t i = 0; i + 1 < after.size(); ++i)
            arc(after[i], at, "");
    }
    graph.final = state();
    mayPause(at, graph.final);
    return graph;
}

std::vector<WordRead> readWords(const std::vector<std::string>& phones,
                                const Pronunciations& dialogue, std::size_t from,
                                std::size_t mostSkipped) {
    // Depth first over the spellings, and then over the leaps from the
    // start; the first way that uses every phone wins, else the one that
    // read furthest. Places already found to lead nowhere are not searched
    // again, so words with many spellings cannot make this exponential.
    std::vector<WordRead> best, path;
    std::set<std::pair<std::size_t, std::size_t>> deadEnds;
    const auto read = [](const std::vector<WordRead>& words) {
        return words.empty() ? 0 : words.back().end;
    };
    const auto search = [&](auto&& self, std::size_t word, std::size_t at) -> bool {
        if (read(path) > read(best))
            best = path;
        if (at == phones.size())
            return true;
        if (word >= dialogue.spellings.size() || deadEnds.count({word, at}))
            return false;
        for (const std::string& spelling : dialogue.spellings[word]) {
            const auto spelled = phonesOf(spelling);
            if (spelled.empty() || at + spelled.size() > phones.size() ||
                !std::equal(spelled.begin(), spelled.end(), phones.begin() + at))
                continue;
            path.push_back({word, at + spelled.size()});
            if (self(self, word + 1, at + spelled.size())) {
                best = path;
                return true;
            }
            path.pop_back();
        }
        if (word == from && at == 0)
            for (std::size_t target = word + 1;
                 target <= word + mostSkipped && target < dialogue.spellings.size(); ++target)
                if (self(self, target, at)) {
                    best = path;
                    return true;
                }
        deadEnds.insert({word, at});
        return false;
    };
    search(search, from, 0);
    return best;
}

} // namespace visemer
