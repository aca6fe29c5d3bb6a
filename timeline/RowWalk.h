#pragma once

#include <functional>

namespace visemer {

class Timeline;
class UiToolkit;

// Visits the frames in order by moving the sequencer's selection, the way
// every command that reads all rows does. Appends a sentinel row when it
// starts; a pass ends when the selection reaches it. However the command
// ends, the sentinel goes again and the first row is left selected.
class RowWalk {
public:
    RowWalk(UiToolkit& ui, Timeline& timeline);
    ~RowWalk();
    RowWalk(const RowWalk&) = delete;
    RowWalk& operator=(const RowWalk&) = delete;

    // The number of frames, without the sentinel.
    int rows() const { return rows_; }
    void selectFirst();
    // One pass from the selected row to the sentinel: each step makes its
    // row current, moves the selection on, then hands over the row's index.
    void pass(const std::function<void(int row)>& visit);
    // The same pass, handing each row over twice: once it is current and
    // the selection still stands on it, and again once the selection has
    // moved on.
    void pass(const std::function<void(int row)>& whileSelected,
              const std::function<void(int row)>& afterMove);
    // The rows were replaced: there is no sentinel left to remove.
    void forget() { active_ = false; }

private:
    UiToolkit& ui_;
    Timeline& timeline_;
    int rows_;
    bool active_ = true;
};

} // namespace visemer
