#pragma once

#include <string>

namespace visemer {

class MediaPlayer;
class TextFiles;
class UiToolkit;

// The program-wide path of the voice clip: set by Load Audio and by Open,
// read by every preview.
struct AudioPath {
    std::string path;
};

inline constexpr const char* kAudioFilter =
    "Audio (*.wav), (*.mp3)|*.wav;*.mp3|WAV (*.wav)|*.wav|MP3 (*.mp3)|*.mp3|All files (*.*)|*.*";

// "Load Audio...": asks for a clip, loads it and records its path in ~AUD.
void LoadAudio(UiToolkit& ui, MediaPlayer& media, AudioPath& audio, TextFiles& files);

} // namespace visemer
