#include "bench/draft/Voices.h"

#include <espeak-ng/speak_lib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace visemer::bench {
namespace {

// espeak-ng's English phoneme names as the recognizer's phones; the
// reference then goes through the same tables as the draft.
const std::map<std::string, std::string>& espeakPhones() {
    static const std::map<std::string, std::string> table{
        {"p", "P"},   {"b", "B"},    {"m", "M"},   {"f", "F"},    {"v", "V"},   {"T", "TH"},
        {"D", "DH"},  {"s", "S"},    {"z", "Z"},   {"S", "SH"},   {"Z", "ZH"},  {"tS", "CH"},
        {"dZ", "JH"}, {"t", "T"},    {"t#", "T"},  {"t2", "T"},   {"d", "D"},   {"d#", "D"},
        {"k", "K"},   {"g", "G"},    {"h", "HH"},  {"n", "N"},    {"n-", "N"},  {"N", "NG"},
        {"l", "L"},   {"l/", "L"},   {"@L", "L"},  {"r", "R"},    {"r-", "R"},  {"R", "R"},
        {"w", "W"},   {"j", "Y"},    {"a", "AE"},  {"a#", "AE"},  {"A:", "AA"}, {"A@", "AA"},
        {"A", "AA"},  {"aa", "AE"},  {"aI", "AY"}, {"aI@", "AY"}, {"aU", "AW"}, {"V", "AH"},
        {"@", "AH"},  {"@2", "AH"},  {"@5", "AH"}, {"a2", "AH"},  {"E", "EH"},  {"e@", "EH"},
        {"e", "EH"},  {"eI", "EY"},  {"I", "IH"},  {"I2", "IH"},  {"I#", "IH"}, {"i", "IY"},
        {"i@", "IY"}, {"I@", "IH"},  {"i:", "IY"}, {"U", "UH"},   {"U@", "UH"}, {"u:", "UW"},
        {"O:", "AO"}, {"O", "AO"},   {"O@", "AO"}, {"o@", "AO"},  {"0", "AA"},  {"oU", "OW"},
        {"@U", "OW"}, {"o", "OW"},   {"OI", "OY"}, {"3:", "ER"},  {"3", "ER"},  {"?", "SIL"},
        {"O2", "AO"}, {"i@3", "IY"},
    };
    return table;
}

std::set<std::string> unknownEspeak;
EspeakSpeech* speaking = nullptr;

std::string phoneOfEspeak(const std::string& name) {
    if (name.empty() || name[0] == '_')
        return "SIL";
    const auto found = espeakPhones().find(name);
    if (found != espeakPhones().end())
        return found->second;
    unknownEspeak.insert(name);
    return "SIL";
}

int collect(short* wave, int count, espeak_EVENT* events) {
    if (wave && count > 0)
        speaking->samples.insert(speaking->samples.end(), wave, wave + count);
    for (espeak_EVENT* event = events; event && event->type != espeakEVENT_LIST_TERMINATED;
         ++event) {
        if (event->type != espeakEVENT_PHONEME)
            continue;
        char name[9] = {};
        std::memcpy(name, event->id.string, 8);
        speaking->phonemes.emplace_back(name, event->audio_position);
    }
    return 0;
}

struct EspeakVoice {
    const char* name;
    int wordsPerMinute;
};
const EspeakVoice kEspeakVoices[] = {
    {"en-us", 175}, {"en", 150}, {"en-us+f3", 200}, {"en+m3", 165}, {"en-us+f2", 140},
};

// Festival's phones (the US English "radio" set) as the recognizer's.
std::string phoneOfFestival(const std::string& name) {
    static const std::map<std::string, std::string> odd{
        {"pau", "SIL"}, {"h#", "SIL"}, {"brth", "SIL"}, {"ax", "AH"}, {"axr", "ER"}, {"el", "L"},
        {"em", "M"},    {"en", "N"},   {"dx", "T"},     {"nx", "N"},  {"hv", "HH"},
    };
    if (const auto found = odd.find(name); found != odd.end())
        return found->second;
    std::string upper = name;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

std::string schemeString(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

} // namespace

EspeakSpeech speakSentence(const std::string& text) {
    EspeakSpeech speech;
    speaking = &speech;
    espeak_SetSynthCallback(collect);
    espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr,
                 nullptr);
    espeak_Synchronize();
    speaking = nullptr;
    return speech;
}

const std::vector<std::string>& sentences() {
    static const std::vector<std::string> lines{
        "The birch canoe slid on the smooth planks.",
        "Glue the sheet to the dark blue background.",
        "It is easy to tell the depth of a well.",
        "These days a chicken leg is a rare dish.",
        "Rice is often served in round bowls.",
        "The juice of lemons makes fine punch.",
        "The box was thrown beside the parked truck.",
        "The hogs were fed chopped corn and garbage.",
        "Four hours of steady work faced us.",
        "A large size in stockings is hard to sell.",
        "The boy was there when the sun rose.",
        "A rod is used to catch pink salmon.",
        "The source of the huge river is the clear spring.",
        "Kick the ball straight and follow through.",
        "Help the woman get back to her feet.",
        "A pot of tea helps to pass the evening.",
        "Smoky fires lack flame and heat.",
        "The soft cushion broke the man's fall.",
        "The salt breeze came across from the sea.",
        "The girl at the booth sold fifty bonds.",
        "The small pup gnawed a hole in the sock.",
        "The fish twisted and turned on the bent hook.",
        "Press the pants and sew a button on the vest.",
        "The swan dive was far short of perfect.",
        "The beauty of the view stunned the young boy.",
        "Two blue fish swam in the tank.",
        "Her purse was full of useless trash.",
        "The colt reared and threw the tall rider.",
        "It snowed, rained, and hailed the same morning.",
        "Read verse out loud for pleasure.",
        "Hoist the load to your left shoulder.",
        "Take the winding path to reach the lake.",
        "Note closely the size of the gas tank.",
        "Wipe the grease off his dirty face.",
        "Mend the coat before you go out.",
        "The wrist was badly strained and hung limp.",
        "The stray cat gave birth to kittens.",
        "The young girl gave no clear response.",
        "The meal was cooked before the bell rang.",
        "What joy there is in living.",
        "Peter picked a peck of pickled peppers.",
        "Move the vase away from the window, please.",
        "We will meet by the old mill at noon.",
        "Open your mouth wide and say ah.",
    };
    return lines;
}

bool speakWithEspeak(std::size_t count, std::vector<Line>& lines) {
    // Started again each time: the other languages' sets start it with
    // phonemes named in IPA, and these are read by espeak-ng's own names.
    const int rate =
        espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr,
                          espeakINITIALIZE_PHONEME_EVENTS | espeakINITIALIZE_DONT_EXIT);
    if (rate <= 0)
        return false;
    for (std::size_t i = 0; i < count && i < sentences().size(); ++i) {
        const EspeakVoice& voice = kEspeakVoices[i % std::size(kEspeakVoices)];
        Line line;
        line.text = sentences()[i];
        line.rate = rate;
        espeak_SetVoiceByName(voice.name);
        espeak_SetParameter(espeakRATE, voice.wordsPerMinute, 0);
        EspeakSpeech speech = speakSentence(line.text);
        line.samples = std::move(speech.samples);
        for (const auto& [name, at] : speech.phonemes) {
            if (!line.phones.empty())
                line.phones.back().endMs = at;
            line.phones.push_back({at, at, phoneOfEspeak(name)});
        }
        if (!line.phones.empty())
            line.phones.back().endMs = line.lengthMs();
        lines.push_back(std::move(line));
    }
    return true;
}

std::vector<std::string> unknownEspeakPhonemes() {
    return {unknownEspeak.begin(), unknownEspeak.end()};
}

bool speakWithFestival(const std::string& voice, std::size_t count, const std::string& folder,
                       std::vector<Line>& lines) {
    const std::string script = folder + "/" + voice + ".scm";
    {
        std::ofstream out(script);
        out << "(voice_" << voice << ")\n";
        for (std::size_t i = 0; i < count && i < sentences().size(); ++i) {
            const std::string base = folder + "/" + voice + std::to_string(i);
            out << "(set! utt (utt.synth (Utterance Text " << schemeString(sentences()[i])
                << ")))\n(utt.save.wave utt " << schemeString(base + ".wav")
                << " 'riff)\n(utt.save.segs utt " << schemeString(base + ".segs") << ")\n";
        }
    }
    if (std::system(("festival -b '" + script + "' >/dev/null 2>&1").c_str()) != 0)
        return false;
    for (std::size_t i = 0; i < count && i < sentences().size(); ++i) {
        const std::string base = folder + "/" + voice + std::to_string(i);
        Line line;
        line.text = sentences()[i];
        std::ifstream segs(base + ".segs");
        if (!readWav(base + ".wav", line) || !segs)
            return false;
        std::string row;
        while (std::getline(segs, row) && row != "#") {
        }
        double start = 0;
        while (std::getline(segs, row)) {
            std::istringstream fields(row);
            double end = 0;
            int colour = 0;
            std::string phone;
            if (!(fields >> end >> colour >> phone))
                continue;
            line.phones.push_back({start * 1000, end * 1000, phoneOfFestival(phone)});
            start = end;
        }
        if (line.phones.empty())
            return false;
        line.phones.back().endMs = std::max(line.phones.back().endMs, line.lengthMs());
        lines.push_back(std::move(line));
    }
    return true;
}

bool recordedSpeech(std::vector<Line>& lines) {
    const std::string folder = "/usr/share/pocketsphinx/test/data/librivox/";
    std::ifstream transcription(folder + "transcription");
    for (std::string row; std::getline(transcription, row);) {
        // "<s> words </s> (name)"
        const auto open = row.rfind('(');
        const auto close = row.rfind(')');
        if (open == std::string::npos || close == std::string::npos)
            continue;
        Line line;
        line.text = row.substr(0, open);
        for (const char* mark : {"<s>", "</s>"})
            if (const auto at = line.text.find(mark); at != std::string::npos)
                line.text.erase(at, std::strlen(mark));
        if (!readWav(folder + row.substr(open + 1, close - open - 1) + ".wav", line))
            return false;
        lines.push_back(std::move(line));
    }
    return !lines.empty();
}

bool readWav(const std::string& path, Line& line) {
    std::ifstream in(path, std::ios::binary);
    char riff[12];
    if (!in.read(riff, 12) || std::memcmp(riff, "RIFF", 4) != 0 ||
        std::memcmp(riff + 8, "WAVE", 4) != 0)
        return false;
    std::uint16_t channels = 0, bits = 0;
    std::uint32_t rate = 0;
    char id[4];
    std::uint32_t size = 0;
    while (in.read(id, 4) && in.read(reinterpret_cast<char*>(&size), 4)) {
        if (std::memcmp(id, "fmt ", 4) == 0) {
            std::vector<char> format(size);
            in.read(format.data(), size);
            std::memcpy(&channels, format.data() + 2, 2);
            std::memcpy(&rate, format.data() + 4, 4);
            std::memcpy(&bits, format.data() + 14, 2);
        } else if (std::memcmp(id, "data", 4) == 0) {
            if (channels != 1 || bits != 16)
                return false;
            line.samples.resize(size / 2);
            in.read(reinterpret_cast<char*>(line.samples.data()), size / 2 * 2);
            line.rate = static_cast<int>(rate);
            return true;
        } else {
            in.seekg(size + (size & 1), std::ios::cur);
        }
    }
    return false;
}

} // namespace visemer::bench
