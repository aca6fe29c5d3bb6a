// The project reader on arbitrary bytes: group and key look-ups of every
// kind, including the names the program uses and ones taken from the input.
#include "files/ProjectFile.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    visemer::ProjectFile file;
    file.openText(bytes);
    for (const char* group : {"Total Frames", "FPS", "Timing", "Shapes", "Delays", "Audio", ""}) {
        file.selectGroup(group);
        for (const char* key : {"Frames", "FPS", "Timing", "Audio", "1", "2", "", "x"})
            file.readKey(key, "default");
    }
    // Names cut from the input itself.
    const std::string name = bytes.substr(0, bytes.size() / 2);
    file.selectGroup(name);
    file.readKey(bytes.substr(bytes.size() / 2), "");
    file.closeProject();
    return 0;
}
