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
constexpr double kShortestWaitMs = 0.05;
// A toolkit may count its sleeps in coarser ticks and wake short of the
// moment asked; look again a few times.
constexpr int kWakeChecks = 3;
// Showing a shape takes a moment to reach the screen; each wait ends early
// by the time it has been taking. One slow paint moves that estimate by a
// quarter of at most this much.
constexpr double kLongestLeadMs = 5;
constexpr double kLeadWeight = 1.0 / 4;

void showFailure(UiToolkit& ui, Preview::Trigger trigger) {
    if (trigger == Preview::Trigger::EnterKey)
        ui.messageBox("Play", "Please select an audio file.", MessageBoxFlag::ErrorOnTop);
    else
        ui.messageBox("Stop", "Please open an audio file before playing.", MessageBoxFlag::Error);
}

} // namespace

// The clip is asked where it is once, as the wait starts, while there is
// time to spare: the player's position query can be held up by its own
// threads for tens of milliseconds, and asked at the due moment it would
// show the shape that much late. The rest of the wait runs on the steady
// clock, which a sound card's own pace cannot move by much within one row.
// The fraction of a millisecond first, then whole milliseconds through the
// toolkit: the wait ends with one plain sleep, the kind a machine wakes
// from on time most often.
void Preview::waitUntil(PreviewClock& clock, double due) {
    const double left = due - clock.nowMs();
    const double until = clock_.nowMs() + left;
    for (int check = 0; check < kWakeChecks; ++check) {
        const double wait = until - clock_.nowMs();
        if (wait < kShortestWaitMs)
            return;
        const double whole = std::floor(wait);
        if (wait - whole >= kShortestWaitMs)
            clock_.waitMs(wait - whole);
        if (whole >= 1)
            ui_.sleepMs(static_cast<int>(whole));
    }
}

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
    clock.waitForStart();

    // Each row is due where the delays before it put it on the clip's
    // timeline, so rounding and the time spent painting never add up.
    double dueSum = 0;
    double lead = 0;
    // The shape goes on screen before the highlight moves, so drawing the
    // list never delays it; the list is drawn at the start of the wait.
    auto show = [&](int row) {
        const double showFrom = clock_.nowMs();
        timeline_.showShapeOf(ui_.itemText(Control::Sequencer, row, Timeline::Label));
        const double showTook = std::clamp(clock_.nowMs() - showFrom, 0.0, kLongestLeadMs);
        // The first shape is shown while the clip is still starting up,
        // and takes longer than any after it.
        if (row > 0)
            lead += (showTook - lead) * kLeadWeight;
    };
    auto wait = [&](int row) {
        ui_.paintPending();
        dueSum += PlaybackRate::stepMs(
            readDecimal(ui_.itemText(Control::Sequencer, row, Timeline::Delay)), unit);
        waitUntil(clock, std::nearbyint(dueSum) - lead);
    };
    walk.pass(show, wait);
    walk.selectFirst();
}

} // namespace visemer
