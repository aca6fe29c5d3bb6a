#pragma once

#include "voice/PhoneSearch.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace visemer {

struct SpeechModel;

// PocketSphinx's phone search and its alignment to a grammar of phones.
class SphinxSearch final : public PhoneSearch {
public:
    // Throws VoiceError when the model cannot be loaded.
    SphinxSearch(const SpeechModel& model, bool aligning);
    ~SphinxSearch() override;
    SphinxSearch(const SphinxSearch&) = delete;
    SphinxSearch& operator=(const SphinxSearch&) = delete;

    // Forgets what earlier clips taught the decoder (the running cepstral
    // mean), so the next clip drafts as it would on a decoder just loaded.
    void startClip();

    // The word's spellings in the pronouncing dictionary, as phones
    // separated by spaces; none for a word it does not list.
    std::vector<std::string> spellingsOf(const std::string& word);
    // Lets alignments use these phones, and a pause, as words.
    void addPhoneWords(const std::set<std::string>& phones);

    std::vector<PhoneSegment> phones(const std::int16_t* samples, std::size_t count) override;
    std::vector<PhoneSegment> align(const PhoneGraph& graph, const std::int16_t* samples,
                                    std::size_t count) override;

private:
    std::vector<PhoneSegment> runUtterance(const std::int16_t* samples, std::size_t count);
    void useGraph(const PhoneGraph& graph);

    struct Decoder;
    std::unique_ptr<Decoder> decoder_;
};

} // namespace visemer
