#include "media/AudioCommands.h"

#include "files/TextFiles.h"
#include "media/MediaPlayer.h"
#include "toolkit/UiToolkit.h"

namespace visemer {

void LoadAudio(UiToolkit& ui, MediaPlayer& media, AudioPath& audio, TextFiles& files) {
    audio.path = ui.openFileDialog("Open File...", "", kAudioFilter, 0);
    // Loaded twice: the first load releases whatever clip played before.
    media.LoadMedia(audio.path);
    if (!media.LoadMedia(audio.path))
        ui.messageBox("No Audio", "Please (re)select an audio file.", MessageBoxFlag::Warning);
    writeRelayFile(files, kAudioRelayFile, kAudioRelay, audio.path);
}

} // namespace visemer
