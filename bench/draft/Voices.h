#pragma once

#include "bench/draft/Line.h"

#include <string>
#include <vector>

namespace visemer::bench {

// The dialogue every synthesizer speaks.
const std::vector<std::string>& sentences();

// One sentence as espeak-ng speaks it with the voice and speed set: its
// samples, and each phoneme it reports with its moment in ms. espeak-ng
// must have been started with phoneme events.
struct EspeakSpeech {
    std::vector<short> samples;
    std::vector<std::pair<std::string, double>> phonemes;
};
EspeakSpeech speakSentence(const std::string& text);

// espeak-ng's voices in turn, one a sentence, at their own speeds, with
// the phonemes it reports; false when espeak-ng did not start.
bool speakWithEspeak(std::size_t count, std::vector<Line>& lines);
// Names of espeak-ng phonemes that had to be counted as silence.
std::vector<std::string> unknownEspeakPhonemes();

// A Festival voice ("kal_diphone", "cmu_us_slt_arctic_hts") speaking the
// sentences, with the segments of its own utterances; false when Festival
// or the voice is missing.
bool speakWithFestival(const std::string& voice, std::size_t count, const std::string& folder,
                       std::vector<Line>& lines);

// Read speech with its transcript, and no phone timing: the LibriVox
// lines of pocketsphinx-testdata. False when they are not installed.
bool recordedSpeech(std::vector<Line>& lines);

// Reads a 16-bit mono WAV file.
bool readWav(const std::string& path, Line& line);

} // namespace visemer::bench
