// The whole Open command on arbitrary file bytes, against the fake toolkit:
// whatever the file holds, the editor must come out usable.
#include "app/Program.h"
#include "ids/Controls.h"
#include "ids/MenuIds.h"
#include "tests/support/FakeMedia.h"
#include "tests/support/FakeToolkit.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace visemer;
    static const std::string folder = [] {
        char pattern[] = "/tmp/visemer-fuzz-open-XXXXXX";
        const char* made = mkdtemp(pattern);
        if (!made || chdir(made) != 0)
            std::abort();
        return std::string(made);
    }();
    const std::string path = folder + "/project.vsq";
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }

    testing::FakeToolkit ui;
    testing::FakeMediaPlayer media;
    testing::FakeSteadyClock clock(ui);
    Program program(ui, media, clock);
    if (!program.start())
        std::abort();
    // Hostile frame counts are bounded; a small bound keeps each run quick.
    program.projectCommands().setFrameLimit(2000);
    ui.answerFileDialog(path);
    ui.chooseMenu(MenuId::Open);
    ui.pressKey('A');
    ui.pressKey(Key::Delete);
    ui.pressKey(Key::Insert);
    while (ui.inputLeft() > 0 || ui.hasPendingEvent())
        program.loop().runPass();

    const int rows = ui.itemCount(Control::Sequencer);
    if (rows < 0 || rows > 2001 || ui.getText(Control::TotalFrames) != std::to_string(rows))
        std::abort();
    return 0;
}
