#pragma once

#include "files/AtomicFile.h"

#include <fstream>
#include <map>
#include <memory>
#include <string>

namespace visemer {

// Small numbered text files, read and written one after another. The file
// opened or created last is the current one; reads and writes act on it.
// A file that cannot be created leaves no current file, and writes go
// nowhere until the next successful open. Text is bytes.
class TextFiles {
public:
    // Creates the file, or replaces it once it is closed: until closeFile
    // the old file stays as it was.
    bool createFile(int number, const std::string& path);
    // Opens the file for reading, making an empty one if it is missing.
    bool openFile(int number, const std::string& path);
    // Up to the next CR, LF, NUL or the end; CR LF counts as one line end.
    // Empty at the end of the file.
    std::string readLine();
    void writeText(const std::string& text);
    void writeLine(const std::string& text);
    // False when a file being written could not be put in place whole.
    bool closeFile(int number);
    void closeAll();

private:
    struct Open {
        AtomicFile writing;
        std::unique_ptr<std::ifstream> reading;
    };
    Open* current();

    std::map<int, Open> files_;
    int current_ = -1;
};

// The relay files of the working folder hold one path with no line end.
std::string readRelayFile(TextFiles& files, int number, const std::string& path);
void writeRelayFile(TextFiles& files, int number, const std::string& path, const std::string& text);

inline constexpr const char* kProjectRelay = "~DIR";
inline constexpr const char* kAudioRelay = "~AUD";
inline constexpr int kProjectRelayFile = 0;
inline constexpr int kAudioRelayFile = 1;

} // namespace visemer
