#include "voice/ModelPhones.h"

#include <algorithm>
#include <array>
#include <utility>

namespace visemer {
namespace {

struct Nearest {
    std::string_view symbol;
    std::array<std::string_view, 2> phones; // the second may be empty
};

// Each symbol's nearest model phones. Sounds by where they are made: vowels by height, backness and
// rounding, consonants by place and manner. Symbols of two letters come first, so that "tʃ" is one
// phone and not t and ʃ.
constexpr Nearest kNearest[] = {
    // Affricates and diphthongs the model has as one phone, or as two.
    {"tʃ", {"CH"}},
    {"dʒ", {"JH"}},
    {"tɕ", {"CH"}},
    {"dʑ", {"JH"}},
    {"tʂ", {"CH"}},
    {"dʐ", {"JH"}},
    {"ts", {"T", "S"}},
    {"dz", {"D", "Z"}},
    {"pf", {"P", "F"}},
    {"aɪ", {"AY"}},
    {"ai", {"AY"}},
    {"aʊ", {"AW"}},
    {"au", {"AW"}},
    {"ɔɪ", {"OY"}},
    {"ɔʏ", {"OY"}},
    {"oɪ", {"OY"}},
    {"eɪ", {"EY"}},
    {"ei", {"EY"}},
    {"oʊ", {"OW"}},
    {"əʊ", {"OW"}},
    {"ou", {"OW"}},
    // Vowels.
    {"i", {"IY"}},
    {"ɪ", {"IH"}},
    {"ɨ", {"IH"}},
    {"y", {"IY"}},
    {"ʏ", {"IH"}},
    {"e", {"EY"}},
    {"ɛ", {"EH"}},
    {"æ", {"AE"}},
    {"a", {"AA"}},
    {"ä", {"AA"}},
    {"ɐ", {"AH"}},
    {"ɑ", {"AA"}},
    {"ɒ", {"AA"}},
    {"ɔ", {"AO"}},
    {"o", {"OW"}},
    {"ʌ", {"AH"}},
    {"ə", {"AH"}},
    {"ɘ", {"AH"}},
    {"ɤ", {"AH"}},
    {"ɜ", {"ER"}},
    {"ɞ", {"ER"}},
    {"ɚ", {"ER"}},
    {"ɝ", {"ER"}},
    {"u", {"UW"}},
    {"ʊ", {"UH"}},
    {"ɯ", {"UW"}},
    {"ø", {"UH"}},
    {"œ", {"AH"}},
    {"ɵ", {"UH"}},
    // Lips.
    {"p", {"P"}},
    {"b", {"B"}},
    {"m", {"M"}},
    {"ɱ", {"M"}},
    {"β", {"B"}},
    {"ɸ", {"F"}},
    {"f", {"F"}},
    {"v", {"V"}},
    {"ʋ", {"V"}},
    {"w", {"W"}},
    {"ʍ", {"W"}},
    {"ɥ", {"W"}},
    // Teeth and the ridge behind them.
    {"θ", {"TH"}},
    {"ð", {"DH"}},
    {"t", {"T"}},
    {"d", {"D"}},
    {"n", {"N"}},
    {"s", {"S"}},
    {"z", {"Z"}},
    {"ɾ", {"D"}},
    {"r", {"R"}},
    {"ɹ", {"R"}},
    {"l", {"L"}},
    {"ɫ", {"L"}},
    {"ɬ", {"L"}},
    // The palate, behind it and the throat.
    {"ʃ", {"SH"}},
    {"ʒ", {"ZH"}},
    {"ɕ", {"SH"}},
    {"ʑ", {"ZH"}},
    {"ʂ", {"SH"}},
    {"ʐ", {"ZH"}},
    {"ɻ", {"R"}},
    {"ɽ", {"R"}},
    {"ɭ", {"L"}},
    {"ɳ", {"N"}},
    {"ç", {"HH"}},
    {"j", {"Y"}},
    {"ʝ", {"Y"}},
    {"ʎ", {"L"}},
    {"ɲ", {"N"}},
    {"c", {"K"}},
    {"ɟ", {"G"}},
    {"k", {"K"}},
    {"g", {"G"}},
    {"ɡ", {"G"}},
    {"ŋ", {"NG"}},
    {"x", {"HH"}},
    {"ɣ", {"G"}},
    {"q", {"K"}},
    {"ɢ", {"G"}},
    {"ɴ", {"NG"}},
    {"χ", {"HH"}},
    {"ʁ", {"HH"}},
    {"ʀ", {"R"}},
    {"ħ", {"HH"}},
    {"h", {"HH"}},
    {"ɦ", {"HH"}},
};

// Marks that change how a sound is said but not where: stress, length,
// palatalisation, aspiration, nasal and other combining marks, and
// espeak-ng's own marks within its phoneme names.
bool isMark(std::string_view symbol) {
    static constexpr std::array<std::string_view, 14> kMarks{"ˈ", "ˌ", "ː", "ˑ", "ʲ", "ʰ", "ʷ",
                                                             "ˠ", "ˤ", "ʼ", "˞", "-", "'", "ʔ"};
    for (const std::string_view mark : kMarks)
        if (symbol == mark)
            return true;
    if (symbol.size() == 1 && symbol[0] >= '0' && symbol[0] <= '9')
        return true;
    // Combining diacritics, U+0300 to U+036F.
    if (symbol.size() == 2) {
        const auto lead = static_cast<unsigned char>(symbol[0]);
        return lead == 0xCC || (lead == 0xCD && static_cast<unsigned char>(symbol[1]) <= 0xAF);
    }
    return false;
}

std::size_t symbolLength(std::string_view text) {
    const auto c = static_cast<unsigned char>(text[0]);
    const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    return std::min(length, text.size());
}

const Nearest* nearestAt(std::string_view text) {
    const Nearest* best = nullptr;
    const auto consider = [&](const Nearest& entry) {
        if (text.substr(0, entry.symbol.size()) == entry.symbol &&
            (!best || entry.symbol.size() > best->symbol.size()))
            best = &entry;
    };
    for (const Nearest& entry : kNearest)
        consider(entry);
    return best;
}

} // namespace

std::string spokenPhone(std::string_view modelPhone, std::string_view phoneme) {
    return std::string(modelPhone) + "/" + std::string(phoneme);
}

std::string_view modelPhoneOf(std::string_view phone) {
    return phone.substr(0, phone.find('/'));
}

std::string_view phonemeOf(std::string_view phone) {
    const auto slash = phone.find('/');
    return slash == std::string_view::npos ? std::string_view() : phone.substr(slash + 1);
}

std::vector<std::string> modelPhonesOfPhoneme(std::string_view phoneme) {
    // The marks go first, so that "t͡ʃ" reads as "tʃ".
    std::string bare;
    for (std::size_t at = 0; at < phoneme.size();) {
        const std::string_view symbol = phoneme.substr(at, symbolLength(phoneme.substr(at)));
        if (!isMark(symbol))
            bare += symbol;
        at += symbol.size();
    }
    std::vector<std::string> phones;
    std::string_view rest = bare;
    while (!rest.empty()) {
        const Nearest* nearest = nearestAt(rest);
        const std::size_t used = nearest ? nearest->symbol.size() : symbolLength(rest);
        if (nearest)
            for (const std::string_view phone : nearest->phones)
                if (!phone.empty())
                    phones.push_back(spokenPhone(phone, nearest->symbol));
        rest.remove_prefix(used);
    }
    return phones;
}

Pronunciations pronunciationsOf(const std::vector<SpokenWord>& words) {
    Pronunciations spelled;
    bool broken = false;
    for (const SpokenWord& word : words) {
        broken = broken || word.afterBreak;
        std::string spelling = modelSpelling(word.phonemes);
        if (spelling.empty())
            continue;
        spelled.spellings.push_back({std::move(spelling)});
        spelled.afterBreak.push_back(broken);
        broken = false;
    }
    return spelled;
}

std::string modelSpelling(const std::vector<std::string>& phonemes) {
    std::string spelling;
    for (const std::string& phoneme : phonemes)
        for (const std::string& phone : modelPhonesOfPhoneme(phoneme))
            spelling += (spelling.empty() ? "" : " ") + phone;
    return spelling;
}

} // namespace visemer
