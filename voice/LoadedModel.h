#pragma once

#include <memory>
#include <string>

namespace visemer {

class SphinxSearch;

// Where the acoustic model, the pronouncing dictionary and the phonetic
// language model are installed.
struct SpeechModel {
    std::string folder = "/usr/share/pocketsphinx/model/en-us";
    std::string acoustic() const { return folder + "/en-us"; }
    std::string dictionary() const { return folder + "/cmudict-en-us.dict"; }
    std::string phoneLanguage() const { return folder + "/en-us-phone.lm.bin"; }
};

// The speech model loaded once for many drafts made one after another.
// Loading takes longer than recognising a short line, so a batch keeps one
// of these for each thread rather than loading the model for each clip.
// One thread at a time.
class LoadedModel {
public:
    explicit LoadedModel(SpeechModel model);
    ~LoadedModel();
    LoadedModel(const LoadedModel&) = delete;
    LoadedModel& operator=(const LoadedModel&) = delete;

    // The decoder for the phone search or for an alignment, loaded when
    // first asked for and made ready for a new clip. Throws VoiceError when
    // the model cannot be loaded.
    SphinxSearch& forClip(bool aligning);

private:
    SpeechModel model_;
    std::unique_ptr<SphinxSearch> phones_;
    std::unique_ptr<SphinxSearch> aligning_;
};

} // namespace visemer
