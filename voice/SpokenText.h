#pragma once

#include <optional>
#include <string>
#include <vector>

namespace visemer {

// A language espeak-ng reads, by the code it is asked for with.
struct SpokenLanguage {
    std::string code; // "de", "pt-br"
    std::string name; // "German"
    // Other codes it answers to ("fr" for "fr-fr"), each with espeak-ng's
    // preference for it: where several languages answer to one code, the
    // lowest number wins.
    struct Alias {
        std::string code;
        int preference = 0;
    };
    std::vector<Alias> aliases;
    std::string voice; // espeak-ng's own name for it ("gmw/de")
};

// A word as espeak-ng says it: its phonemes in the International Phonetic
// Alphabet, and whether a clause ended before it, where a speaker may
// pause.
struct SpokenWord {
    std::vector<std::string> phonemes;
    bool afterBreak = false;
};

// espeak-ng's rules for reading text aloud, in every language it has: a
// dialogue made phonemes with numbers, abbreviations and names spoken as
// the language speaks them. The library is one per process; its calls
// are taken one at a time.
class SpokenText {
public:
    // Throws VoiceError when espeak-ng's data cannot be loaded.
    SpokenText();

    // Every language, ordered by code.
    const std::vector<SpokenLanguage>& languages() const { return languages_; }
    // The language a code names, its case aside; codes and aliases count.
    std::optional<SpokenLanguage> language(const std::string& code) const;

    // The text's words as spoken in the language, which must be one of
    // languages(). Throws VoiceError when espeak-ng cannot take it up.
    std::vector<SpokenWord> words(const std::string& text, const SpokenLanguage& language) const;

private:
    std::vector<SpokenLanguage> languages_;
};

} // namespace visemer
