#include "timeline/RowWalk.h"

#include "ids/Controls.h"
#include "text/DecimalText.h"
#include "timeline/Timeline.h"
#include "toolkit/UiToolkit.h"

namespace visemer {

RowWalk::RowWalk(UiToolkit& ui, Timeline& timeline)
    : ui_(ui), timeline_(timeline), rows_(ui.itemCount(Control::Sequencer)) {
    ui_.addItem(Control::Sequencer, -1, writeDecimal(static_cast<std::int64_t>(rows_) + 1));
}

RowWalk::~RowWalk() {
    if (!active_)
        return;
    if (ui_.getValue(Control::Sequencer) == rows_)
        ui_.setValue(Control::Sequencer, 0);
    ui_.removeItem(Control::Sequencer, ui_.itemCount(Control::Sequencer) - 1);
}

void RowWalk::selectFirst() {
    ui_.setValue(Control::Sequencer, 0);
}

void RowWalk::pass(const std::function<void(int row)>& visit) {
    pass(nullptr, visit);
}

void RowWalk::pass(const std::function<void(int row)>& whileSelected,
                   const std::function<void(int row)>& afterMove) {
    // One step a row and one for the sentinel at most, so a selection
    // that went missing cannot keep the walk going.
    for (int step = 0; step <= rows_; ++step) {
        const int row = ui_.getValue(Control::Sequencer);
        if (row < 0 || row >= rows_)
            return;
        timeline_.setCurrentRow(row);
        if (whileSelected)
            whileSelected(row);
        ui_.setValue(Control::Sequencer, row + 1);
        ui_.refreshListRow(Control::Sequencer, row + 1);
        afterMove(row);
        if (ui_.getValue(Control::Sequencer) == rows_)
            return;
    }
}

} // namespace visemer
