#pragma once

#include "voice/DialogueWords.h"
#include "voice/SpokenText.h"

#include <string>
#include <string_view>
#include <vector>

namespace visemer {

// The acoustic model knows the 39 phones of American English. A phoneme of
// another language is aligned as its nearest English phone, and keeps its
// own name behind it so that its mouth can be told apart: "IY/y" is the
// rounded vowel of French "tu" heard as the IY of "see".
std::string spokenPhone(std::string_view modelPhone, std::string_view phoneme);
// The model phone a phone is heard as: "IY" of "IY/y", or the phone itself.
std::string_view modelPhoneOf(std::string_view phone);
// The phoneme behind a phone: "y" of "IY/y"; empty for an English phone.
std::string_view phonemeOf(std::string_view phone);

// One phoneme written in the International Phonetic Alphabet, as espeak-ng
// writes it ("ˈaɪ", "tʃ", "ɔ̃", "rʲ"), as the model phones nearest its
// sounds, each with the symbol behind it. Stress, length and other marks
// are let go; a symbol with no phone near it (the glottal stop) is none.
std::vector<std::string> modelPhonesOfPhoneme(std::string_view phoneme);

// Phonemes as one spelling of model phones, separated by spaces.
std::string modelSpelling(const std::vector<std::string>& phonemes);

// Words as espeak-ng speaks them, as the alignment spells them. A word
// with no phone the model can hear is left out.
Pronunciations pronunciationsOf(const std::vector<SpokenWord>& words);

} // namespace visemer
