#pragma once

#include <string>
#include <string_view>

namespace visemer {

class UiToolkit;

// The frames of the animation. They have no copy in memory: each row of
// the sequencer list is one frame, its cells "#", "Image" (the phoneme
// label) and "Delay" (frame units, as text). The commands edit the current
// row, which follows the list's selection through SelectRow and the row
// walks, and can be -1 (none) or one past the last row.
class Timeline {
public:
    enum Column : int { Number = 0, Label = 1, Delay = 2 };
    static constexpr int kFreshRows = 25;
    static constexpr std::string_view kDefaultDelay = "1";

    explicit Timeline(UiToolkit& ui) : ui_(ui) {}

    // Appends empty frames numbered on from "1", as a fresh or opened
    // timeline is filled.
    static void appendNumberedRows(UiToolkit& ui, int count);

    int currentRow() const { return currentRow_; }
    void setCurrentRow(int row) { currentRow_ = row; }

    // Letter keys and Space.
    void AssignLabel(std::string_view label);
    // Number-pad digits and the delay pad.
    void SetDelay(std::string_view delay);
    void IncrementDelay();
    void DecrementDelay();
    void AppendFrame();
    void RemoveLastFrame();
    // Any event of the sequencer list.
    void SelectRow();
    // Any event of the phoneme list.
    void PickPhoneme();

    // Shows the mouth shape of a label in the preview; false, with the
    // preview left as it is, for a text that is not one of the labels.
    bool showShapeOf(std::string_view label);
    void showShape(int shapeSlot);

private:
    std::string delayText() const;
    void writeDelay(const std::string& text);
    void fillEmptyDelay();
    void writeRowCount(int rows);

    UiToolkit& ui_;
    int currentRow_ = 0;
};

} // namespace visemer
