#include "voice/PhoneRecognizer.h"

#include "voice/VoiceDecoder.h"
#include "voice/VoiceError.h"

#include <pocketsphinx.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>
#include <sstream>

namespace visemer {
namespace {

constexpr std::size_t kSamplesPerFrame = VoiceDecoder::kSampleRate / 100; // 10 ms
constexpr double kMsPerFrame = 10;
// Phone search runs in stretches of at most this long, cut at the quietest
// frame of their last third.
constexpr std::size_t kLongestStretch = 30 * VoiceDecoder::kSampleRate;
constexpr std::size_t kShortestStretch = 20 * VoiceDecoder::kSampleRate;
// cmudict lists other spellings as "word(2)", "word(3)" ...
constexpr int kMostSpellings = 9;
constexpr const char* kPhoneSearch = "phones";
constexpr const char* kAlignSearch = "dialogue";
constexpr const char* kPause = "pause";

std::string lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The grammar's "word" for a phone: the phone itself, in lower case with a
// prefix that no dictionary word has.
std::string phoneWord(const std::string& phone) {
    return "ph_" + lower(phone);
}

// Back from a search's word to a phone; empty for the search's own marks.
std::string phoneOf(const std::string& word) {
    if (word.rfind("ph_", 0) == 0)
        return upper(word.substr(3));
    if (word == "<sil>" || word == kPause || word == "SIL" || word == "<s>" || word == "</s>")
        return "SIL";
    // Noise fillers ("+NSN+") close the mouth; the search's own marks
    // ("(NULL)", "[...]") are no phone at all.
    if (word.empty() || word.front() == '(' || word.front() == '[')
        return "";
    if (word.front() == '+')
        return "SIL";
    return word;
}

std::size_t quietestFrame(const std::int16_t* samples, std::size_t from, std::size_t to) {
    std::size_t best = to;
    double bestEnergy = -1;
    for (std::size_t at = from; at + kSamplesPerFrame <= to; at += kSamplesPerFrame) {
        double energy = 0;
        for (std::size_t i = at; i < at + kSamplesPerFrame; ++i)
            energy += static_cast<double>(samples[i]) * samples[i];
        if (bestEnergy < 0 || energy < bestEnergy) {
            bestEnergy = energy;
            best = at;
        }
    }
    return best;
}

} // namespace

struct PhoneRecognizer::Decoder {
    cmd_ln_t* config = nullptr;
    ps_decoder_t* ps = nullptr;
    ~Decoder() {
        if (ps)
            ps_free(ps);
        if (config)
            cmd_ln_free_r(config);
    }
};

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
            words.push_back({lower(word), broken});
            broken = false;
        }
        word.clear();
    };
    for (const char c : text) {
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '\'') {
            word += c;
            continue;
        }
        flush();
        if (std::ispunct(static_cast<unsigned char>(c)) && c != '-')
            broken = true;
    }
    flush();
    return words;
}

PhoneRecognizer::PhoneRecognizer(const SpeechModel& model, Search search)
    : decoder_(std::make_unique<Decoder>()) {
    // A forced alignment needs wide beams so as not to lose the one path
    // it is after; the phone search keeps narrow ones, and context-free
    // phones, to run many times faster than real time.
    const bool aligning = search == Search::Dialogue;
    decoder_->config = cmd_ln_init(
        nullptr, ps_args(), TRUE, "-hmm", model.acoustic().c_str(), "-dict",
        model.dictionary().c_str(), "-allphone_ci", "yes", "-beam", aligning ? "1e-100" : "1e-20",
        "-pbeam", aligning ? "1e-100" : "1e-20", "-wbeam", aligning ? "1e-80" : "7e-29", "-lw",
        "2.0", "-fsgusefiller", "no", "-logfn", "/dev/null", nullptr);
    if (decoder_->config)
        decoder_->ps = ps_init(decoder_->config);
    if (!decoder_->ps)
        throw VoiceError("cannot load the speech model in " + model.folder +
                         " (is pocketsphinx-en-us installed?)");
    if (ps_set_allphone_file(decoder_->ps, kPhoneSearch, model.phoneLanguage().c_str()) < 0 ||
        ps_set_search(decoder_->ps, kPhoneSearch) < 0)
        throw VoiceError("cannot load the phone model " + model.phoneLanguage());
}

PhoneRecognizer::~PhoneRecognizer() = default;

Pronunciations PhoneRecognizer::lookUp(const std::string& dialogue) {
    Pronunciations found;
    bool broken = false;
    for (const auto& [word, afterBreak] : dialogueWords(dialogue)) {
        broken = broken || afterBreak;
        std::vector<std::string> spellings;
        for (int variant = 1; variant <= kMostSpellings; ++variant) {
            const std::string key =
                variant == 1 ? word : word + "(" + std::to_string(variant) + ")";
            char* phones = ps_lookup_word(decoder_->ps, key.c_str());
            if (!phones)
                break;
            spellings.emplace_back(phones);
            std::free(phones);
        }
        if (spellings.empty()) {
            found.unknown.push_back(word);
            continue;
        }
        found.words.push_back(std::move(spellings));
        found.afterBreak.push_back(broken);
        broken = false;
    }
    return found;
}

void PhoneRecognizer::alignTo(const Pronunciations& dialogue) {
    if (dialogue.words.empty())
        throw VoiceError("the dialogue has no word the pronouncing dictionary knows");
    // A grammar over the dialogue's phones, spelled as words of their own,
    // with an optional pause where punctuation allows one: the aligned
    // "words" are then the phones themselves. Words of one phrase run on,
    // so the silent closure of a stop is not taken for a pause.
    std::set<std::string> phones;
    std::string rule;
    for (std::size_t word = 0; word < dialogue.words.size(); ++word) {
        const auto& spellings = dialogue.words[word];
        if (word == 0 || dialogue.afterBreak[word])
            rule += " [ " + std::string(kPause) + " ]";
        rule += " (";
        for (std::size_t i = 0; i < spellings.size(); ++i) {
            rule += i ? " |" : "";
            std::istringstream split(spellings[i]);
            for (std::string phone; split >> phone;) {
                phones.insert(phone);
                rule += " " + phoneWord(phone);
            }
        }
        rule += " )";
    }
    for (const std::string& phone : phones)
        ps_add_word(decoder_->ps, phoneWord(phone).c_str(), phone.c_str(), FALSE);
    ps_add_word(decoder_->ps, kPause, "SIL", TRUE);
    const std::string grammar =
        "#JSGF V1.0;\ngrammar dialogue;\npublic <dialogue> =" + rule + " [ " + kPause + " ];\n";
    if (ps_set_jsgf_string(decoder_->ps, kAlignSearch, grammar.c_str()) < 0 ||
        ps_set_search(decoder_->ps, kAlignSearch) < 0)
        throw VoiceError("cannot build an alignment for the dialogue");
    aligning_ = true;
}

void PhoneRecognizer::feed(const std::int16_t* samples, std::size_t count) {
    if (aligning_) {
        if (!started_) {
            ps_start_utt(decoder_->ps);
            started_ = true;
        }
        ps_process_raw(decoder_->ps, samples, count, FALSE, FALSE);
        return;
    }
    pending_.insert(pending_.end(), samples, samples + count);
    while (pending_.size() >= kLongestStretch) {
        const std::size_t cut = quietestFrame(pending_.data(), kShortestStretch, kLongestStretch);
        runUtterance(pending_.data(), cut);
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(cut));
    }
}

void PhoneRecognizer::runUtterance(const std::int16_t* samples, std::size_t count) {
    ps_start_utt(decoder_->ps);
    ps_process_raw(decoder_->ps, samples, count, FALSE, FALSE);
    ps_end_utt(decoder_->ps);
    collect(pendingStart_);
    pendingStart_ += count;
}

void PhoneRecognizer::collect(std::uint64_t firstSample) {
    const double offsetMs = static_cast<double>(firstSample) * 1000.0 / VoiceDecoder::kSampleRate;
    for (ps_seg_t* segment = ps_seg_iter(decoder_->ps); segment; segment = ps_seg_next(segment)) {
        int first = 0, last = 0;
        ps_seg_frames(segment, &first, &last);
        const char* word = ps_seg_word(segment);
        const std::string phone = phoneOf(word ? word : "");
        if (phone.empty() || last < first)
            continue;
        phones_.push_back(
            {offsetMs + first * kMsPerFrame, offsetMs + (last + 1) * kMsPerFrame, phone});
    }
}

std::vector<TimedPhone> PhoneRecognizer::finish() {
    if (aligning_) {
        if (!started_)
            return {};
        ps_end_utt(decoder_->ps);
        started_ = false;
        if (!ps_get_hyp(decoder_->ps, nullptr))
            throw VoiceError("the voice could not be matched to the dialogue");
        collect(0);
    } else if (!pending_.empty()) {
        runUtterance(pending_.data(), pending_.size());
        pending_.clear();
    }
    return std::move(phones_);
}

} // namespace visemer
