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
// The end of each wait is watched on the steady clock, not slept: a thread
// woken while the processors are busy with the player waits its turn, often
// a millisecond or more, and one woken this much early is still in time.
constexpr double kWatchedEndMs = 1.5;
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
// clock, which a sound card's own pace cannot move by much within one row:
// one plain sleep through the toolkit to shortly before the moment, then
// the clock watched to the moment itself.
void Preview::waitUntil(PreviewClock& clock, double due) {
    const double left = due - clock.nowMs();
    const double until = clock_.nowMs() + left;
    const double asleep = std::floor(left - kWatchedEndMs);
    if (asleep >= 1)
        ui_.sleepMs(static_cast<int>(asleep));
    const double rest = until - clock_.nowMs();
    if (rest >= kShortestWaitMs)
        clock_.waitMs(rest);
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
