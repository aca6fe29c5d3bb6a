// The image slot loader on arbitrary file contents, through Qt's decoders.
#include "toolkit/qt/QtToolkit.h"

#include <QApplication>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {
visemer::QtToolkit* toolkit = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QApplication application(*argc, *argv);
    toolkit = new visemer::QtToolkit;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/visemer-fuzz-image-" + std::to_string(getpid());
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    const visemer::Image image = toolkit->loadImage(3, path);
    toolkit->imageSize(image);
    toolkit->freeImage(3);
    return 0;
}
