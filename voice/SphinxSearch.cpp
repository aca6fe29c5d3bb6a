#include "voice/SphinxSearch.h"

#include "voice/DialogueGrammar.h"
#include "voice/ModelPhones.h"
#include "voice/PhoneRecognizer.h"
#include "voice/VoiceError.h"

#include <cmn.h>
#include <err.h>
#include <feat.h>
#include <fsg_model.h>
#include <glist.h>
#include <logmath.h>
#include <pocketsphinx.h>

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <mutex>

namespace visemer {
namespace {

constexpr const char* kPhoneSearch = "phones";
constexpr const char* kAlignSearch = "dialogue";
// cmudict lists other spellings as "word(2)", "word(3)" ...
constexpr int kMostSpellings = 9;

std::string upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Back from a search's word to a phone; empty for the search's own marks.
std::string phoneOf(const std::string& word) {
    if (word.rfind("ph_", 0) == 0) {
        // The model phone in capitals, and a phoneme behind it as it was.
        const std::string phone = word.substr(3);
        const auto slash = std::min(phone.find('/'), phone.size());
        return upper(phone.substr(0, slash)) + phone.substr(slash);
    }
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

// The library logs through one stream for the whole process, which a
// decoder loaded with a log file of its own would replace under the feet
// of decoders running on other threads; it is turned off once instead.
void silenceTheLibrary() {
    static std::once_flag silenced;
    std::call_once(silenced, [] { err_set_logfp(nullptr); });
}

// The library's own dither draws on one random generator for the whole
// process, so drafts running side by side would take each other's noise
// and come out differently from one run to the next. The same noise is
// added here instead, from a generator of each passage's own: +1 on about
// a quarter of the samples, always the same ones for the same samples.
std::vector<std::int16_t> dithered(const std::int16_t* samples, std::size_t count) {
    std::vector<std::int16_t> noisy(samples, samples + count);
    std::uint64_t state = 0x9E3779B97F4A7C15ULL;
    for (std::int16_t& sample : noisy) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        if ((state & 3) == 0 && sample < INT16_MAX)
            ++sample;
    }
    return noisy;
}

} // namespace

struct SphinxSearch::Decoder {
    cmd_ln_t* config = nullptr;
    ps_decoder_t* ps = nullptr;
    // The running cepstral mean as loaded, put back for each clip so that a
    // clip drafts the same whichever clips the decoder heard before.
    std::vector<mfcc_t> loadedMean;
    ~Decoder() {
        if (ps)
            ps_free(ps);
        if (config)
            cmd_ln_free_r(config);
    }
};

SphinxSearch::SphinxSearch(const SpeechModel& model, bool aligning)
    : decoder_(std::make_unique<Decoder>()) {
    // A forced alignment needs wide beams so as not to lose the one path
    // it is after; the phone search keeps narrow ones, and context-free
    // phones, to run many times faster than real time. A little noise is
    // added to the samples (see dithered()): passages of digital silence
    // otherwise give the alignment no way through. The library's own
    // silence removal is off: it drops
    // the frames it takes for silence without telling, so the phones after
    // a pause came out late, past the clip's end; kept, each frame of 10 ms
    // is its place on the clip. The phone search leans on its phone
    // bigrams a little less than the alignment on its grammar: measured on
    // three synthesizers' voices and read speech, that keeps more of the
    // short closures of b, m and p and costs no set more than 0.2 points
    // of agreement.
    // The phone search looks up no word, and without the pronouncing
    // dictionary, most of what there is to load, the model loads in a
    // quarter of the time. The alignment needs it even for phones spelled
    // by espeak-ng: measured without it, drafts in other languages lost 2
    // to 36 points of agreement.
    silenceTheLibrary();
    const std::string dictionary = aligning ? model.dictionary() : "/dev/null";
    decoder_->config =
        cmd_ln_init(nullptr, ps_args(), TRUE, "-hmm", model.acoustic().c_str(), "-dict",
                    dictionary.c_str(), "-allphone_ci", "yes", "-beam",
                    aligning ? "1e-100" : "1e-20", "-pbeam", aligning ? "1e-100" : "1e-20",
                    "-wbeam", aligning ? "1e-80" : "7e-29", "-lw", aligning ? "2.0" : "1.5",
                    "-fsgusefiller", "no", "-dither", "no", "-remove_silence", "no", nullptr);
    if (decoder_->config)
        decoder_->ps = ps_init(decoder_->config);
    if (!decoder_->ps)
        throw VoiceError("cannot load the speech model in " + model.folder +
                         " (is pocketsphinx-en-us installed?)");
    if (ps_set_allphone_file(decoder_->ps, kPhoneSearch, model.phoneLanguage().c_str()) < 0 ||
        ps_set_search(decoder_->ps, kPhoneSearch) < 0)
        throw VoiceError("cannot load the phone model " + model.phoneLanguage());
    if (const cmn_t* cmn = ps_get_feat(decoder_->ps)->cmn_struct)
        decoder_->loadedMean.assign(cmn->cmn_mean, cmn->cmn_mean + cmn->veclen);
}

void SphinxSearch::startClip() {
    if (decoder_->loadedMean.empty())
        return;
    cmn_live_set(ps_get_feat(decoder_->ps)->cmn_struct, decoder_->loadedMean.data());
}

SphinxSearch::~SphinxSearch() = default;

std::vector<std::string> SphinxSearch::spellingsOf(const std::string& word) {
    std::vector<std::string> spellings;
    for (int variant = 1; variant <= kMostSpellings; ++variant) {
        const std::string key = variant == 1 ? word : word + "(" + std::to_string(variant) + ")";
        char* phones = ps_lookup_word(decoder_->ps, key.c_str());
        if (!phones)
            break;
        spellings.emplace_back(phones);
        std::free(phones);
    }
    return spellings;
}

void SphinxSearch::addPhoneWords(const std::set<std::string>& phones) {
    // The grammar's "words" are the phones themselves, so the aligned words
    // are the aligned phones.
    for (const std::string& phone : phones)
        ps_add_word(decoder_->ps, phoneWord(phone).c_str(),
                    std::string(modelPhoneOf(phone)).c_str(), FALSE);
    ps_add_word(decoder_->ps, kPauseWord, "SIL", TRUE);
}

std::vector<PhoneSegment> SphinxSearch::phones(const std::int16_t* samples, std::size_t count) {
    if (ps_set_search(decoder_->ps, kPhoneSearch) < 0)
        throw VoiceError("cannot start the phone search");
    return runUtterance(samples, count);
}

std::vector<PhoneSegment> SphinxSearch::align(const PhoneGraph& graph, const std::int16_t* samples,
                                              std::size_t count) {
    useGraph(graph);
    return runUtterance(samples, count);
}

std::vector<PhoneSegment> SphinxSearch::runUtterance(const std::int16_t* samples,
                                                     std::size_t count) {
    // Frames are counted from the start of a stream: each passage is one.
    ps_start_stream(decoder_->ps);
    ps_start_utt(decoder_->ps);
    const std::vector<std::int16_t> noisy = dithered(samples, count);
    ps_process_raw(decoder_->ps, noisy.data(), count, FALSE, FALSE);
    ps_end_utt(decoder_->ps);
    std::vector<PhoneSegment> segments;
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

void SphinxSearch::useGraph(const PhoneGraph& graph) {
    // Built here rather than parsed from a grammar's text: the parser keeps
    // memory it never gives back, once for each passage of a long clip.
    fsg_model_t* model =
        fsg_model_init(kAlignSearch, ps_get_logmath(decoder_->ps), 1.0F, graph.states);
    model->start_state = graph.start;
    model->final_state = graph.final;
    const auto logOf = [this](double logProbability) {
        return logProbability >= 0
                   ? 0
                   : logmath_ln_to_log(ps_get_logmath(decoder_->ps), logProbability);
    };
    for (const PhoneGraph::Arc& arc : graph.arcs) {
        if (arc.word.empty())
            fsg_model_null_trans_add(model, arc.from, arc.to, logOf(arc.logProbability));
        else
            fsg_model_trans_add(model, arc.from, arc.to, logOf(arc.logProbability),
                                fsg_model_word_add(model, arc.word.c_str()));
    }
    glist_free(fsg_model_null_trans_closure(model, nullptr));
    const bool set = ps_set_fsg(decoder_->ps, kAlignSearch, model) >= 0 &&
                     ps_set_search(decoder_->ps, kAlignSearch) >= 0;
    fsg_model_free(model); // the search keeps its own reference
    if (!set)
        throw VoiceError("cannot build an alignment for the dialogue");
}

} // namespace visemer
