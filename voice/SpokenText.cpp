#include "voice/SpokenText.h"

#include "text/AsciiCase.h"
#include "voice/VoiceError.h"

#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <set>
#include <sstream>

namespace visemer {
namespace {

// espeak-ng keeps one state for the whole process.
std::mutex& libraryLock() {
    static std::mutex lock;
    return lock;
}

// Phonemes in IPA, separated by this; words by spaces.
constexpr char kPhonemeSeparator = '_';
constexpr int kIpaPhonemes = 0x02;

// A clause's phonemes as words. espeak-ng marks a word it reads in another
// language's rules with that language's code in brackets, "(en)".
std::vector<SpokenWord> wordsOfClause(const std::string& phonemes) {
    std::vector<SpokenWord> words;
    std::istringstream split(phonemes);
    for (std::string word; split >> word;) {
        SpokenWord spoken;
        std::string phoneme;
        const auto flush = [&] {
            if (!phoneme.empty() && !(phoneme.front() == '(' && phoneme.back() == ')'))
                spoken.phonemes.push_back(phoneme);
            phoneme.clear();
        };
        for (const char c : word) {
            if (c == kPhonemeSeparator)
                flush();
            else
                phoneme += c;
        }
        flush();
        if (!spoken.phonemes.empty())
            words.push_back(std::move(spoken));
    }
    return words;
}

} // namespace

SpokenText::SpokenText() {
    const std::lock_guard<std::mutex> held(libraryLock());
    if (espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT) <= 0)
        throw VoiceError("cannot load espeak-ng's language data (is espeak-ng-data installed?)");
    std::set<std::string> codes;
    const espeak_VOICE** voices = espeak_ListVoices(nullptr);
    for (int i = 0; voices && voices[i]; ++i) {
        const espeak_VOICE& voice = *voices[i];
        if (!voice.languages || !voice.identifier || !voice.name)
            continue;
        // Each language is a priority byte, then its code, then a zero.
        SpokenLanguage language;
        for (const char* entry = voice.languages; *entry; entry += std::strlen(entry + 1) + 2) {
            const std::string code = foldedAsciiCase(entry + 1);
            if (language.code.empty())
                language.code = code;
            else if (code != language.code)
                language.aliases.push_back({code, static_cast<unsigned char>(entry[0])});
        }
        if (language.code.empty() || !codes.insert(language.code).second)
            continue;
        language.name = voice.name;
        while (!language.name.empty() && language.name.back() == ' ')
            language.name.pop_back();
        language.voice = voice.identifier;
        languages_.push_back(std::move(language));
    }
    std::sort(languages_.begin(), languages_.end(),
              [](const auto& a, const auto& b) { return a.code < b.code; });
    if (languages_.empty())
        throw VoiceError("espeak-ng lists no language (is espeak-ng-data installed?)");
}

std::optional<SpokenLanguage> SpokenText::language(const std::string& code) const {
    const std::string wanted = foldedAsciiCase(code);
    for (const SpokenLanguage& language : languages_)
        if (language.code == wanted)
            return language;
    const SpokenLanguage* preferred = nullptr;
    int preference = 0;
    for (const SpokenLanguage& language : languages_)
        for (const SpokenLanguage::Alias& alias : language.aliases)
            if (alias.code == wanted && (!preferred || alias.preference < preference)) {
                preferred = &language;
                preference = alias.preference;
            }
    if (preferred)
        return *preferred;
    return std::nullopt;
}

std::vector<SpokenWord> SpokenText::words(const std::string& text,
                                          const SpokenLanguage& language) const {
    const std::lock_guard<std::mutex> held(libraryLock());
    if (espeak_SetVoiceByName(language.voice.c_str()) != EE_OK)
        throw VoiceError("espeak-ng cannot read " + language.name + " (" + language.code + ")");
    // One clause at a time: a comma or a full stop ends one.
    std::vector<SpokenWord> words;
    const std::string terminated = text + '\n';
    const void* at = terminated.c_str();
    while (at) {
        const char* phonemes = espeak_TextToPhonemes(
            &at, espeakCHARS_UTF8, kIpaPhonemes | (static_cast<int>(kPhonemeSeparator) << 8));
        std::vector<SpokenWord> clause = wordsOfClause(phonemes ? phonemes : "");
        if (!clause.empty())
            clause.front().afterBreak = true;
        for (SpokenWord& word : clause)
            words.push_back(std::move(word));
    }
    return words;
}

} // namespace visemer
