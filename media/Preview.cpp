#include "media/Preview.h"

#include "ids/Controls.h"
#include "media/AudioCommands.h"
#include "media/MediaPlayer.h"
#include "media/PreviewClock.h"
#include "text/DecimalText.h"
#include "timeline/PlaybackSettings.h"
#include "timeline/RowWalk.h"
#include "timeline/Timeline.h"
#include "toolkit/UiToolkit.h"

#include <algorithm>
#include <cmath>

namespace visemer {
namespace {

// A wait shorter than this is not worth a trip to the scheduler.
constexpr double kMinimumSleepMs = 0.5;
// The clip's clock can lag the moment a sleep ends; look again a few times.
constexpr int kWakeChecks = 3;
void showFailure(UiToolkit& ui, Preview::Trigger trigger) {
    if (trigger == Preview::Trigger::EnterKey)
        ui.messageBox("Play", "Please select an audio file.", MessageBoxFlag::ErrorOnTop);
    else
        ui.messageBox("Stop", "Please open an audio file before playing.", MessageBoxFlag::Error);
}

} // namespace

void Preview::PlayPreview(Trigger trigger) {
    RowWalk walk(ui_, timeline_);
    const int adjustment = PlaybackSettings::timingAdjustment(ui_);
    const float unit = PlaybackRate::delayUnit(PlaybackSettings::framesPerSecond(ui_), adjustment);
    walk.selectFirst();
    if (!media_.LoadMedia(audio_.path)) {
        showFailure(ui_, trigger);
        return;
    }
    media_.PlayMedia(Window::Main);
    PreviewClock clock(media_, clock_);
    clock.waitForStart(ui_);

    // Each row is due where the delays before it put it on the clip's
    // timeline, so rounding and the time spent painting never add up.
    double dueSum = 0;
    walk.pass([&](int row) {
        timeline_.showShapeOf(ui_.itemText(Control::Sequencer, row, Timeline::Label));
        dueSum += PlaybackRate::stepMs(
            readDecimal(ui_.itemText(Control::Sequencer, row, Timeline::Delay)), unit);
        const double due = std::nearbyint(dueSum);
        for (int check = 0; check < kWakeChecks; ++check) {
            const double wait = due - clock.nowMs();
            if (wait < kMinimumSleepMs)
                break;
            ui_.sleepMs(static_cast<int>(std::lround(wait)));
        }
    });
    walk.selectFirst();
}

} // namespace visemer
