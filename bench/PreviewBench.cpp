// How closely the preview keeps the mouth shapes on the voice: plays a
// generated clip of N minutes through the real toolkit and media player,
// notes the clip's position at the moment each row's shape is painted, and
// compares it with the row's due time. The naive schedule, one rounded
// sleep per row, is measured in the same run for comparison.
//
//   preview_bench [--minutes N]     (default 2)

#include "app/Program.h"
#include "app/ids/Controls.h"
#include "app/ids/MenuIds.h"
#include "media/Preview.h"
#include "media/gst/GstMediaPlayer.h"
#include "timeline/PlaybackSettings.h"
#include "toolkit/qt/QtToolkit.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace visemer;

// Notes the clip's position whenever the preview image is painted.
class PaintWatch final : public QObject {
public:
    PaintWatch(MediaPlayer& media, SteadyClock& clock) : media_(media), clock_(clock) {}
    void reset() {
        painted.clear();
        startedAt_ = clock_.nowMs();
    }
    std::vector<double> painted;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            const auto position = media_.playbackPositionMs();
            painted.push_back(position ? *position : clock_.nowMs() - startedAt_);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    MediaPlayer& media_;
    SteadyClock& clock_;
    double startedAt_ = 0;
};

struct Figures {
    double p99Error = 0;
    double maxError = 0;
    double meanError = 0;
    double drift = 0;
};

Figures compare(const std::vector<double>& painted, const std::vector<double>& due) {
    Figures figures;
    const std::size_t rows = std::min(painted.size(), due.size());
    double sum = 0;
    std::vector<double> errors;
    for (std::size_t row = 0; row < rows; ++row) {
        const double error = painted[row] - due[row];
        figures.maxError = std::max(figures.maxError, std::abs(error));
        sum += std::abs(error);
        errors.push_back(std::abs(error));
    }
    if (!errors.empty()) {
        std::sort(errors.begin(), errors.end());
        figures.p99Error = errors[errors.size() * 99 / 100];
    }
    if (rows > 0) {
        figures.meanError = sum / static_cast<double>(rows);
        figures.drift = painted[rows - 1] - due[rows - 1];
    }
    return figures;
}

void print(const char* name, const Figures& f, std::size_t rows) {
    std::printf("%-20s rows %5zu  max error %7.2f ms  99%% within %6.2f ms  mean %6.2f ms  "
                "drift at end %8.2f ms\n",
                name, rows, f.maxError, f.p99Error, f.meanError, f.drift);
}

} // namespace

int main(int argc, char** argv) {
    double minutes = 2;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--minutes")
            minutes = std::atof(argv[i + 1]);
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);

    char folder[] = "/tmp/visemer-bench-XXXXXX";
    if (!mkdtemp(folder))
        return 1;
    const std::string clip = std::string(folder) + "/voice.wav";
    const std::string make = "sox -n -r 22050 -c 1 -b 16 '" + clip + "' synth " +
                             std::to_string(minutes * 60 + 5) + " sine 220 2>/dev/null";
    if (std::system(make.c_str()) != 0) {
        std::fprintf(stderr, "preview_bench needs sox to make its clip\n");
        return 1;
    }
    if (chdir(folder) != 0)
        return 1;

    QApplication application(argc, argv);
    QtToolkit ui;
    GstMediaPlayer media;
    SystemSteadyClock clock;
    Program program(ui, media, clock);
    if (!program.start())
        return 1;
    program.audio().path = clip;
    // Let the window reach the screen before anything is painted on it.
    for (int pass = 0; pass < 20; ++pass)
        QApplication::processEvents();

    // One row per frame at 30 fps with "Browser": 71.43 ms a step, with
    // delays of 1, 2 and 3 in turn and a shape that changes every row.
    const float unit = Preview::delayUnit(30, PlaybackSettings::kBrowserAdjustment);
    const char* labels[] = {"A", "O", "E", "M", "S", "L"};
    std::vector<double> due;
    std::vector<int> delays;
    double sum = 0;
    while (sum < minutes * 60000) {
        due.push_back(std::nearbyint(sum));
        const int delay = 1 + static_cast<int>(delays.size() % 3);
        delays.push_back(delay);
        sum += Preview::stepMs(delay, unit);
    }
    ui.clearItems(Control::Sequencer);
    for (std::size_t row = 0; row < delays.size(); ++row)
        ui.addItem(Control::Sequencer, -1,
                   std::to_string(row + 1) + "\n" + labels[row % 6] + "\n" +
                       std::to_string(delays[row]));

    PaintWatch watch(media, clock);
    ui.controlWidget(Control::Preview)->installEventFilter(&watch);
    std::printf("clip of %.1f minutes, %zu rows\n", minutes, delays.size());

    // The naive schedule: each row's rounded wait slept in turn.
    media.LoadMedia(clip);
    media.PlayMedia(Window::Main);
    watch.reset();
    for (std::size_t row = 0; row < delays.size(); ++row) {
        program.timeline().showShapeOf(labels[row % 6]);
        ui.sleepMs(static_cast<int>(std::nearbyint(Preview::stepMs(delays[row], unit))));
    }
    const Figures naive = compare(watch.painted, due);

    // The editor's own preview.
    watch.reset();
    Preview preview(ui, media, clock, program.timeline(), program.audio());
    preview.PlayPreview(Preview::Trigger::EnterKey);
    const Figures locked = compare(watch.painted, due);

    print("sleep per row", naive, watch.painted.size());
    print("locked to the clip", locked, watch.painted.size());
    program.shutdown();
    std::string cleanup = std::string("rm -rf '") + folder + "'";
    return std::system(cleanup.c_str()) == 0 ? 0 : 1;
}
