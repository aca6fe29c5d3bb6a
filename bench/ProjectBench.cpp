// Open, Save, Save As and Export Script on a timeline of 100,000 frames,
// through the real Qt toolkit on the offscreen platform, with the time each
// command takes and the process's resident memory.
//
//   project_bench [--rows N]     (default 100000)

#include "app/Program.h"
#include "ids/Controls.h"
#include "ids/MenuIds.h"
#include "media/gst/GstMediaPlayer.h"
#include "tests/support/QtRequesters.h"
#include "toolkit/qt/QtToolkit.h"

#include <QAction>
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace visemer;

long residentKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::atol(line.c_str() + std::string(field).size());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    int rows = 100000;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--rows")
            rows = std::atoi(argv[i + 1]);
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);

    char folder[] = "/tmp/visemer-bench-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0)
        return 1;
    const std::string clip = std::string(folder) + "/voice.wav";
    if (std::system(("sox -n -r 22050 -c 1 '" + clip + "' synth 1 sine 220 2>/dev/null").c_str()))
        return 1;
    {
        std::ofstream project("big.vsq", std::ios::binary);
        const char* labels[] = {"A", "Closed", "TH", "O", "S", "E"};
        project << "[Total Frames]\r\nFrames = " << rows << "\r\n[FPS]\r\nFPS = 24\r\n";
        project << "[Timing]\r\nTiming = 1\r\n[Shapes]\r\n";
        for (int r = 1; r <= rows; ++r)
            project << r << " = " << labels[r % 6] << "\r\n";
        project << "[Delays]\r\n";
        for (int r = 1; r <= rows; ++r)
            project << r << " = " << (r % 12 + 1) << "\r\n";
        project << "[Audio]\r\nAudio = " << clip << "\r\n";
    }
    std::ofstream(std::string(folder) + "/~AUD") << clip;

    QApplication application(argc, argv);
    QtToolkit ui;
    GstMediaPlayer media;
    SystemSteadyClock clock;
    Program program(ui, media, clock);
    if (!program.start())
        return 1;
    for (int pass = 0; pass < 20; ++pass)
        QApplication::processEvents();
    std::printf("timeline of %d frames; resident at start %ld kB\n", rows,
                residentKilobytes("VmRSS:"));

    auto run = [&](int identifier, const char* answer) {
        if (answer)
            testing::answerRequester(QString::fromUtf8(answer), 1);
        const auto started = std::chrono::steady_clock::now();
        ui.menuAction(kMainMenu, identifier)->trigger();
        while (ui.hasPendingEvent())
            program.loop().runPass();
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
            .count();
    };
    struct Command {
        const char* name;
        int identifier;
        const char* answer;
        std::vector<double> ms;
    } commands[] = {{"Open", MenuId::Open, "big.vsq", {}},
                    {"Save As", MenuId::SaveAs, "copy.vsq", {}},
                    {"Save", MenuId::Save, nullptr, {}},
                    {"Export Script", MenuId::ExportScript, "mouth.as", {}}};
    constexpr int kRounds = 5;
    for (int round = 0; round < kRounds; ++round)
        for (Command& command : commands)
            command.ms.push_back(run(command.identifier, command.answer));
    for (Command& command : commands) {
        std::sort(command.ms.begin(), command.ms.end());
        std::printf("%-14s median %7.1f ms   slowest %7.1f ms   (%d runs, requester included)\n",
                    command.name, command.ms[kRounds / 2], command.ms.back(), kRounds);
    }
    std::printf("rows after the runs %d; Open includes its 100 ms wait for the media service\n",
                ui.itemCount(Control::Sequencer));
    std::printf("peak resident %ld kB\n", residentKilobytes("VmHWM:"));

    const bool same = std::system("cmp -s big.vsq copy.vsq") == 0;
    std::printf("saved project %s the opened one\n", same ? "matches" : "DIFFERS FROM");
    program.shutdown();
    std::system((std::string("rm -rf '") + folder + "'").c_str());
    return same ? 0 : 1;
}
