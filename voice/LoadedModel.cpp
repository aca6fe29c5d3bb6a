#include "voice/LoadedModel.h"

#include "voice/SphinxSearch.h"

namespace visemer {

LoadedModel::LoadedModel(SpeechModel model) : model_(std::move(model)) {}

LoadedModel::~LoadedModel() = default;

SphinxSearch& LoadedModel::forClip(bool aligning) {
    std::unique_ptr<SphinxSearch>& search = aligning ? aligning_ : phones_;
    if (!search)
        search = std::make_unique<SphinxSearch>(model_, aligning);
    search->startClip();
    return *search;
}

} // namespace visemer
