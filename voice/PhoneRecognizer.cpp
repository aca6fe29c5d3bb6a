#include "voice/PhoneRecognizer.h"

#include "text/AsciiCase.h"
#include "voice/DialogueGrammar.h"
#include "voice/VoiceDecoder.h"
#include "voice/VoiceError.h"

#include <fsg_model.h>
#include <glist.h>
#include <logmath.h>
#include <pocketsphinx.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string_view>

namespace visemer {
namespace {

constexpr std::size_t kSamplesPerFrame = VoiceDecoder::kSampleRate / 100; // 10 ms
constexpr double kMsPerFrame = 10;
// A frame's window is 25.625 ms long and starts where the frame does, so the
// sound a frame hears is centred 12.8 ms after the frame's start. A change
// between two frames lies halfway between their centres: this much later
// than the later frame's start.
constexpr double kWindowMs = 25.625;
constexpr double kChangeAfterFrameStartMs = kWindowMs / 2 - kMsPerFrame / 2;
// The voice is searched in passages of at most this long. The phone search
// cuts each at the quietest frame of its last third; an alignment goes on
// from the end of the last word it keeps.
constexpr std::size_t kLongestPassage = 30 * VoiceDecoder::kSampleRate;
constexpr std::size_t kShortestPassage = 20 * VoiceDecoder::kSampleRate;
// cmudict lists other spellings as "word(2)", "word(3)" ...
constexpr int kMostSpellings = 9;
constexpr const char* kPhoneSearch = "phones";
constexpr const char* kAlignSearch = "dialogue";
// A passage of dialogue holds at most this many words: half a minute at
// twice the pace of quick speech.
constexpr std::size_t kWordsPerPassage = 200;
// Words that end this close to a passage's cut are aligned again with the
// next passage.
constexpr std::size_t kHeldBack = 2 * VoiceDecoder::kSampleRate;
// How many of a passage's first words the alignment may leave out, to catch
// up with a voice that does not say them.
constexpr std::size_t kMostSkipped = 50;
// An alignment's last passage is at most about this long.
constexpr std::size_t kLastPassage = 6 * VoiceDecoder::kSampleRate;
// How many cuts a passage of dialogue is tried with.
constexpr int kAttempts = 4;

std::string clockTime(std::uint64_t sample) {
    const std::uint64_t seconds = sample / VoiceDecoder::kSampleRate;
    const std::string secondsText = std::to_string(seconds % 60);
    return std::to_string(seconds / 60) + ":" + (secondsText.size() < 2 ? "0" : "") + secondsText;
}

std::string upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Back from a search's word to a phone; empty for the search's own marks.
std::string phoneOf(const std::string& word) {
    if (word.rfind("ph_", 0) == 0)
        return upper(word.substr(3));
    if (word == "<sil>" || word == kPauseWord || word == "SIL" || word == "<s>" || word == "</s>")
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

PhoneRecognizer::PhoneRecognizer(const SpeechModel& model, Search search)
    : decoder_(std::make_unique<Decoder>()) {
    // A forced alignment needs wide beams so as not to lose the one path
    // it is after; the phone search keeps narrow ones, and context-free
    // phones, to run many times faster than real time. A little noise is
    // added to the samples, the same each time so that a clip always drafts
    // the same: passages of digital silence otherwise give the alignment
    // no way through.
    const bool aligning = search == Search::Dialogue;
    decoder_->config =
        cmd_ln_init(nullptr, ps_args(), TRUE, "-hmm", model.acoustic().c_str(), "-dict",
                    model.dictionary().c_str(), "-allphone_ci", "yes", "-beam",
                    aligning ? "1e-100" : "1e-20", "-pbeam", aligning ? "1e-100" : "1e-20",
                    "-wbeam", aligning ? "1e-80" : "7e-29", "-lw", "2.0", "-fsgusefiller", "no",
                    "-dither", "yes", "-seed", "1", "-logfn", "/dev/null", nullptr);
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
        found.spellings.push_back(std::move(spellings));
        found.afterBreak.push_back(broken);
        broken = false;
    }
    return found;
}

void PhoneRecognizer::alignTo(const Pronunciations& dialogue) {
    if (dialogue.spellings.empty())
        throw VoiceError(dialogue.unknown.empty()
                             ? "the dialogue has no words"
                             : "no word of the dialogue is in the pronouncing dictionary: " +
                                   joinedWords(dialogue.unknown));
    // The grammar's "words" are the phones themselves, so the aligned words
    // are the aligned phones.
    for (const std::string& phone : phonesIn(dialogue))
        ps_add_word(decoder_->ps, phoneWord(phone).c_str(), phone.c_str(), FALSE);
    ps_add_word(decoder_->ps, kPauseWord, "SIL", TRUE);
    dialogue_ = dialogue;
    nextWord_ = 0;
    aligning_ = true;
}

void PhoneRecognizer::feed(const std::int16_t* samples, std::size_t count) {
    pending_.insert(pending_.end(), samples, samples + count);
    while (pending_.size() >= kLongestPassage) {
        if (aligning_) {
            alignPassage(false);
            continue;
        }
        recognisePhones(quietCut());
    }
}

std::size_t PhoneRecognizer::quietCut() const {
    // The quietest moment of the passage's last third.
    const std::size_t longest = std::min(kLongestPassage, pending_.size());
    return quietestFrame(pending_.data(), shortestCut(), longest);
}

std::size_t PhoneRecognizer::shortestCut() const {
    return std::min(kShortestPassage, std::min(kLongestPassage, pending_.size()) / 3 * 2);
}

void PhoneRecognizer::recognisePhones(std::size_t count) {
    const auto segments = runUtterance(count);
    keep(segments, segments.size(), count);
    advance(count);
}

std::vector<PhoneRecognizer::Segment> PhoneRecognizer::runUtterance(std::size_t count) {
    // Frames are counted from the start of a stream: each passage is one.
    ps_start_stream(decoder_->ps);
    ps_start_utt(decoder_->ps);
    ps_process_raw(decoder_->ps, pending_.data(), count, FALSE, FALSE);
    ps_end_utt(decoder_->ps);
    std::vector<Segment> segments;
    if (!ps_get_hyp(decoder_->ps, nullptr))
        return segments;
    for (ps_seg_t* segment = ps_seg_iter(decoder_->ps); segment; segment = ps_seg_next(segment)) {
        int first = 0, last = 0;
        ps_seg_frames(segment, &first, &last);
        const char* word = ps_seg_word(segment);
        std::string phone = phoneOf(word ? word : "");
        if (!phone.empty() && last >= first)
            segments.push_back({std::move(phone), first, last + 1});
    }
    return segments;
}

void PhoneRecognizer::keep(const std::vector<Segment>& segments, std::size_t count,
                           std::size_t passageSamples) {
    const double offsetMs = static_cast<double>(pendingStart_) * 1000.0 / VoiceDecoder::kSampleRate;
    const double lengthMs =
        static_cast<double>(passageSamples) * 1000.0 / VoiceDecoder::kSampleRate;
    // A passage that goes on from where the one before was cut at a change
    // of phone starts with that change.
    const double firstChangeMs = continuesAtChange_ ? kChangeAfterFrameStartMs : 0;
    const auto changeAt = [&](int frame) {
        return frame <= 0 ? firstChangeMs
                          : std::min(lengthMs, frame * kMsPerFrame + kChangeAfterFrameStartMs);
    };
    for (std::size_t i = 0; i < count && i < segments.size(); ++i)
        phones_.push_back({offsetMs + changeAt(segments[i].first),
                           offsetMs + changeAt(segments[i].end), segments[i].phone});
}

void PhoneRecognizer::advance(std::size_t samples) {
    samples = std::min(samples, pending_.size());
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(samples));
    pendingStart_ += samples;
}

void PhoneRecognizer::useGraph(const PhoneGraph& graph) {
    // Built here rather than parsed from a grammar's text: the parser keeps
    // memory it never gives back, once for each passage of a long clip.
    fsg_model_t* model =
        fsg_model_init(kAlignSearch, ps_get_logmath(decoder_->ps), 1.0F, graph.states);
    model->start_state = graph.start;
    model->final_state = graph.final;
    const auto logOf = [this](double probability) {
        return probability >= 1 ? 0 : logmath_log(ps_get_logmath(decoder_->ps), probability);
    };
    for (const PhoneGraph::Arc& arc : graph.arcs) {
        if (arc.word.empty())
            fsg_model_null_trans_add(model, arc.from, arc.to, logOf(arc.probability));
        else
            fsg_model_trans_add(model, arc.from, arc.to, logOf(arc.probability),
                                fsg_model_word_add(model, arc.word.c_str()));
    }
    glist_free(fsg_model_null_trans_closure(model, nullptr));
    const bool set = ps_set_fsg(decoder_->ps, kAlignSearch, model) >= 0 &&
                     ps_set_search(decoder_->ps, kAlignSearch) >= 0;
    fsg_model_free(model); // the search keeps its own reference
    if (!set)
        throw VoiceError("cannot build an alignment for the dialogue");
}

void PhoneRecognizer::alignPassage(bool last) {
    // A long clip is aligned a passage at a time, each against the words
    // that may be in it. The passage's last words may have been cut short,
    // so they are aligned again with the next passage, which starts where
    // the last word kept ends.
    const std::size_t shortest = shortestCut();
    std::size_t passage = last ? pending_.size() : quietCut();
    if (nextWord_ >= dialogue_.spellings.size()) {
        // Past the dialogue's last word the mouth stays closed.
        keep({{"SIL", 0, static_cast<int>(passage / kSamplesPerFrame)}}, 1, passage);
        advance(passage);
        continuesAtChange_ = false;
        return;
    }
    const std::size_t from = nextWord_;
    const std::size_t to = std::min(dialogue_.spellings.size(), from + kWordsPerPassage);
    bool whole = last && to == dialogue_.spellings.size();
    std::vector<Segment> segments;
    for (int attempt = 0; segments.empty() && attempt < kAttempts; ++attempt) {
        if (attempt > 0) {
            // Now and then the search finds no way to end a word exactly
            // where a passage is cut; another cut, at an earlier quiet
            // moment, gets through. The clip's last passage cannot move
            // its end, but the voice may have ended before the dialogue.
            if (whole)
                whole = false;
            else if (!last && passage > shortest + kSamplesPerFrame)
                passage = quietestFrame(pending_.data(), shortest, passage - kSamplesPerFrame);
            else
                break;
        }
        useGraph(dialogueGraph(dialogue_, from, to, !whole, kMostSkipped));
        segments = runUtterance(passage);
    }
    if (segments.empty())
        throw VoiceError("the voice could not be matched to the dialogue" +
                         (pendingStart_ > 0 ? " after " + clockTime(pendingStart_) : ""));

    std::vector<std::string> spoken;
    std::vector<std::size_t> spokenSegment; // each phone's segment
    for (std::size_t i = 0; i < segments.size(); ++i)
        if (segments[i].phone != "SIL") {
            spoken.push_back(segments[i].phone);
            spokenSegment.push_back(i);
        }
    const std::vector<WordRead> found = readWords(spoken, dialogue_, from, kMostSkipped);
    // The words up to the n-th found are kept; any the voice leapt over
    // are counted.
    const auto keepWords = [&](std::size_t n) {
        wordsSkipped_ += found[n - 1].word + 1 - nextWord_ - n;
        nextWord_ = found[n - 1].word + 1;
    };
    if (last) {
        keep(segments, segments.size(), passage);
        advance(passage);
        if (!found.empty())
            keepWords(found.size());
        return;
    }
    // Keep the words that end well before the cut; at least one, so that
    // the alignment always moves on.
    const int latestEnd = static_cast<int>((passage - kHeldBack) / kSamplesPerFrame);
    std::size_t words = 0;
    while (words < found.size() && segments[spokenSegment[found[words].end - 1]].end <= latestEnd)
        ++words;
    if (words == 0 && !found.empty())
        words = 1;
    if (words == 0) {
        // No word ends in the passage: it holds a pause, and perhaps the
        // start of a word cut short, which is aligned again from its start.
        std::size_t kept = spokenSegment.empty() ? segments.size() : spokenSegment.front();
        std::size_t until = kept < segments.size()
                                ? static_cast<std::size_t>(segments[kept].first) * kSamplesPerFrame
                                : passage;
        if (until == 0) {
            kept = segments.size();
            until = passage;
        }
        keep(segments, kept, passage);
        advance(until);
        continuesAtChange_ = until < passage;
        return;
    }
    const std::size_t lastSegment = spokenSegment[found[words - 1].end - 1];
    keep(segments, lastSegment + 1, passage);
    advance(static_cast<std::size_t>(segments[lastSegment].end) * kSamplesPerFrame);
    keepWords(words);
    continuesAtChange_ = true;
}

std::size_t PhoneRecognizer::wordsSkipped() const {
    return wordsSkipped_;
}

std::size_t PhoneRecognizer::wordsNotHeard() const {
    return dialogue_.spellings.size() - std::min(nextWord_, dialogue_.spellings.size());
}

std::vector<TimedPhone> PhoneRecognizer::finish() {
    if (aligning_) {
        // The clip's end is aligned like the rest until only a few seconds
        // are left, so that even the last passage starts where a leap can
        // still catch up with the voice.
        while (pending_.size() > kLastPassage && nextWord_ < dialogue_.spellings.size()) {
            const std::size_t before = pending_.size();
            alignPassage(false);
            if (pending_.size() == before)
                break;
        }
        if (!pending_.empty() || nextWord_ < dialogue_.spellings.size())
            alignPassage(true);
    } else if (!pending_.empty()) {
        recognisePhones(pending_.size());
    }
    return std::move(phones_);
}

} // namespace visemer
