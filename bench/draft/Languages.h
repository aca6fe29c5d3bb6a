#pragma once

#include "bench/draft/Line.h"

#include <string>
#include <vector>

namespace visemer::bench {

// Ten everyday sentences in a language, with the espeak-ng code that
// reads them.
struct LanguageSentences {
    std::string code;
    std::string name;
    std::vector<std::string> sentences;
};
const std::vector<LanguageSentences>& languageSentences();

// espeak-ng speaking a language's sentences with its default voice, the
// phonemes it reports (in IPA) made the aligner's phones as a draft makes
// them; false when espeak-ng did not start.
bool speakLanguage(const LanguageSentences& language, std::vector<Line>& lines);
// IPA phonemes of the languages' references that no phone stands for.
std::vector<std::string> unheardPhonemes();

} // namespace visemer::bench
