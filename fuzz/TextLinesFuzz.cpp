// The numbered text files' line reader on arbitrary file contents.
#include "files/TextFiles.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/visemer-fuzz-lines-" + std::to_string(getpid());
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    visemer::TextFiles files;
    if (files.openFile(0, path)) {
        // Each line eats at least one byte, so this many reads reach the end.
        for (std::size_t line = 0; line <= size; ++line)
            files.readLine();
        files.closeFile(0);
    }
    return 0;
}
