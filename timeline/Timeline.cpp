#include "timeline/Timeline.h"

#include "ids/Controls.h"
#include "text/DecimalText.h"
#include "timeline/PhonemeTable.h"
#include "toolkit/UiToolkit.h"

namespace visemer {

void Timeline::showShape(int shapeSlot) {
    ui_.setValue(Control::Preview, ui_.imageOf(shapeSlot));
}

bool Timeline::showShapeOf(std::string_view label) {
    const auto phoneme = PhonemeTable::find(label);
    if (!phoneme)
        return false;
    showShape(phoneme->shapeSlot);
    return true;
}

std::string Timeline::delayText() const {
    return ui_.itemText(Control::Sequencer, currentRow_, Delay);
}

void Timeline::writeDelay(const std::string& text) {
    ui_.setItemText(Control::Sequencer, currentRow_, text, Delay);
}

void Timeline::fillEmptyDelay() {
    if (delayText().empty())
        writeDelay(std::string(kDefaultDelay));
}

void Timeline::writeRowCount(int rows) {
    ui_.setText(Control::TotalFrames, writeDecimal(rows));
}

void Timeline::AssignLabel(std::string_view label) {
    ui_.setItemText(Control::Sequencer, currentRow_, std::string(label), Label);
    fillEmptyDelay();
    showShapeOf(label);
}

void Timeline::SetDelay(std::string_view delay) {
    writeDelay(std::string(delay));
}

void Timeline::IncrementDelay() {
    writeDelay(writeDecimal(addSaturated(readDecimal(delayText()), 1)));
}

void Timeline::DecrementDelay() {
    // Three steps, each reading the cell afresh: down by one, then lift a
    // "0" or "-1" back up to "1". Only a hand-made project brings in values
    // below 1, and those keep going down.
    writeDelay(writeDecimal(addSaturated(readDecimal(delayText()), -1)));
    if (delayText() == "0")
        writeDelay(writeDecimal(addSaturated(readDecimal(delayText()), 1)));
    if (delayText() == "-1")
        writeDelay(writeDecimal(addSaturated(readDecimal(delayText()), 2)));
}

void Timeline::AppendFrame() {
    const int rows = ui_.itemCount(Control::Sequencer);
    ui_.addItem(Control::Sequencer, -1, writeDecimal(static_cast<std::int64_t>(rows) + 1));
    writeRowCount(rows + 1);
}

void Timeline::RemoveLastFrame() {
    const int rows = ui_.itemCount(Control::Sequencer);
    if (rows == 0) {
        // Only an opened project of no frames gets here; there is nothing
        // to remove and the count must not go negative.
        writeRowCount(0);
        return;
    }
    ui_.removeItem(Control::Sequencer, rows - 1);
    writeRowCount(rows - 1);
    if (rows == 2) {
        // The timeline keeps two frames: the second comes back empty and
        // the first is selected, which reaches SelectRow on the next pass.
        ui_.addItem(Control::Sequencer, -1, "2");
        writeRowCount(2);
        ui_.setValue(Control::Sequencer, 0);
    }
}

void Timeline::appendNumberedRows(UiToolkit& ui, int count) {
    for (int frame = 1; frame <= count; ++frame)
        ui.addItem(Control::Sequencer, -1, writeDecimal(frame));
}

void Timeline::SelectRow() {
    currentRow_ = ui_.getValue(Control::Sequencer);
    showShapeOf(ui_.itemText(Control::Sequencer, currentRow_, Label));
}

void Timeline::PickPhoneme() {
    const int picked = ui_.getValue(Control::Phonemes);
    const std::string label = ui_.itemText(Control::Phonemes, picked, 0);
    currentRow_ = ui_.getValue(Control::Sequencer);
    ui_.setItemText(Control::Sequencer, currentRow_, label, Label);
    fillEmptyDelay();
    // With several phonemes selected the last one in list order stays on view.
    for (int position = 0; position < kPhonemeCount; ++position) {
        if (ui_.itemState(Control::Phonemes, position) == 1)
            showShape(PhonemeTable::all()[static_cast<std::size_t>(position)].shapeSlot);
    }
}

} // namespace visemer
