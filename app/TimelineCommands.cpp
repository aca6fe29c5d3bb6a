#include "app/TimelineCommands.h"

#include "app/EventLoop.h"
#include "ids/Controls.h"
#include "ids/MenuIds.h"
#include "text/DecimalText.h"
#include "timeline/PhonemeTable.h"
#include "timeline/Timeline.h"

#include <string>

namespace visemer {

void registerTimelineCommands(EventLoop& loop, Timeline& timeline) {
    for (const Phoneme& phoneme : PhonemeTable::all()) {
        if (phoneme.key != 0) {
            const std::string_view label = phoneme.label;
            loop.onMenu(phoneme.key, [&timeline, label] { timeline.AssignLabel(label); });
        }
    }
    for (int key = MenuId::FirstNumpad; key <= MenuId::LastNumpad; ++key) {
        const std::string delay = writeDecimal(key - MenuId::FirstNumpad + 1);
        loop.onMenu(key, [&timeline, delay] { timeline.SetDelay(delay); });
    }
    loop.onMenu(MenuId::DelayUp, [&timeline] { timeline.IncrementDelay(); });
    loop.onMenu(MenuId::DelayDown, [&timeline] { timeline.DecrementDelay(); });
    loop.onMenu(MenuId::AppendFrame, [&timeline] { timeline.AppendFrame(); });
    loop.onMenu(MenuId::RemoveFrame, [&timeline] { timeline.RemoveLastFrame(); });

    loop.onControl(Control::Sequencer, [&timeline] { timeline.SelectRow(); });
    loop.onControl(Control::Phonemes, [&timeline] { timeline.PickPhoneme(); });
    for (int button = Control::FirstDelayButton; button <= Control::LastDelayButton; ++button) {
        const std::string delay = writeDecimal(button - Control::FirstDelayButton + 1);
        loop.onControl(button, [&timeline, delay] { timeline.SetDelay(delay); });
    }
    loop.onControl(Control::DelayDown, [&timeline] { timeline.DecrementDelay(); });
    loop.onControl(Control::DelayUp, [&timeline] { timeline.IncrementDelay(); });
    loop.onControl(Control::FramesDown, [&timeline] { timeline.RemoveLastFrame(); });
    loop.onControl(Control::FramesUp, [&timeline] { timeline.AppendFrame(); });
}

} // namespace visemer
