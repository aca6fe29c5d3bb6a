// Open, Save, Save As and Export Script on a timeline of 100,000 frames,
// through the real Qt toolkit on the offscreen platform, with the time each
// command takes and the process's resident memory; then the single editing
// commands at the end of that timeline, each from its key or click. With
// --file-rows M the opened project holds M rows, of which Open keeps at most
// its limit, as a huge file from elsewhere would.
//
//   project_bench [--rows N] [--file-rows M]     (default 100000, M = N)

#include "app/Program.h"
#include "ids/Controls.h"
#include "ids/MenuIds.h"
#include "media/gst/GstMediaPlayer.h"
#include "tests/support/QtRequesters.h"
#include "toolkit/qt/ListViewControl.h"
#include "toolkit/qt/QtToolkit.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
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
    long long fileRows = -1;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == "--rows")
            rows = std::atoi(argv[i + 1]);
        else if (std::string(argv[i]) == "--file-rows")
            fileRows = std::atoll(argv[i + 1]);
    }
    if (fileRows < 0)
        fileRows = rows;
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
        project << "[Total Frames]\r\nFrames = " << fileRows << "\r\n[FPS]\r\nFPS = 24\r\n";
        project << "[Timing]\r\nTiming = 1\r\n[Shapes]\r\n";
        for (long long r = 1; r <= fileRows; ++r)
            project << r << " = " << labels[r % 6] << "\r\n";
        project << "[Delays]\r\n";
        for (long long r = 1; r <= fileRows; ++r)
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
    if (fileRows != rows) {
        // Only Open: the saves would write the rows kept, not the file's.
        commands[0].ms.clear();
        // Open says that it kept fewer rows than the file holds; the user
        // reads the message and closes it.
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                box->accept();
        });
        closer.start(20);
        for (int round = 0; round < kRounds; ++round)
            commands[0].ms.push_back(run(MenuId::Open, "big.vsq"));
        closer.stop();
        std::sort(commands[0].ms.begin(), commands[0].ms.end());
        std::printf("Open of %lld rows kept %d: median %.1f ms, slowest %.1f ms\n", fileRows,
                    ui.itemCount(Control::Sequencer), commands[0].ms[kRounds / 2],
                    commands[0].ms.back());
        std::printf("peak resident %ld kB\n", residentKilobytes("VmHWM:"));
        program.shutdown();
        std::system((std::string("rm -rf '") + folder + "'").c_str());
        return 0;
    }
    for (int round = 0; round < kRounds; ++round)
        for (Command& command : commands)
            command.ms.push_back(run(command.identifier, command.answer));
    for (Command& command : commands) {
        std::sort(command.ms.begin(), command.ms.end());
        std::printf("%-14s median %7.1f ms   slowest %7.1f ms   (%d runs, requester included)\n",
                    command.name, command.ms[kRounds / 2], command.ms.back(), kRounds);
    }

    // The single editing commands at the end of the timeline, each from its
    // key or click, until the event loop has nothing left of it.
    ui.focusWindow(Window::Main);
    QApplication::processEvents();
    ui.setValue(Control::Sequencer, ui.itemCount(Control::Sequencer) - 1);
    while (ui.hasPendingEvent())
        program.loop().runPass();
    auto timed = [&](const std::function<void()>& input) {
        const auto started = std::chrono::steady_clock::now();
        input();
        while (ui.hasPendingEvent())
            program.loop().runPass();
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
            .count();
    };
    QWidget* keys = ui.controlWidget(Control::FpsList);
    auto* list = dynamic_cast<ListViewControl*>(ui.controlWidget(Control::Sequencer));
    struct Edit {
        const char* name;
        std::function<void()> input;
        std::vector<double> ms;
    } edits[] = {
        {"AppendFrame (Insert)", [&] { QTest::keyClick(keys, Qt::Key_Insert); }, {}},
        {"RemoveLastFrame (Delete)", [&] { QTest::keyClick(keys, Qt::Key_Delete); }, {}},
        {"a letter (E)", [&] { QTest::keyClick(keys, Qt::Key_E); }, {}},
        {"a number-pad digit (5)",
         [&] { QTest::keyClick(keys, Qt::Key_5, Qt::KeypadModifier); },
         {}},
        {"SelectRow after a click",
         [&] {
             QAbstractItemView* view = list->activeView();
             const QRect cell =
                 view->visualRect(view->model()->index(view->indexAt(QPoint(5, 5)).row() + 1, 0));
             QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
         },
         {}},
    };
    for (int round = 0; round < kRounds; ++round)
        for (Edit& edit : edits)
            edit.ms.push_back(timed(edit.input));
    // The letter and the digit of the later rounds went to the row clicked.
    const int clicked = ui.getValue(Control::Sequencer);
    if (ui.itemText(Control::Sequencer, clicked, 1) != "E" ||
        ui.itemText(Control::Sequencer, clicked, 2) != "5") {
        std::fprintf(stderr,
                     "project_bench: the keys edited nothing (row %d: \"%s\", \"%s\"); "
                     "no figures for the editing commands\n",
                     clicked + 1, ui.itemText(Control::Sequencer, clicked, 1).c_str(),
                     ui.itemText(Control::Sequencer, clicked, 2).c_str());
        return 1;
    }
    for (Edit& edit : edits) {
        std::sort(edit.ms.begin(), edit.ms.end());
        std::printf("%-26s median %7.2f ms   slowest %7.2f ms\n", edit.name, edit.ms[kRounds / 2],
                    edit.ms.back());
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
