#include "project/WalkedRows.h"

#include "ids/Controls.h"
#include "timeline/RowWalk.h"
#include "timeline/Timeline.h"
#include "toolkit/UiToolkit.h"

namespace visemer {

std::int64_t WalkedRows::rows() const {
    return walk_.rows();
}

void WalkedRows::eachCell(Column column,
                          const std::function<void(std::int64_t, const std::string&)>& visit) {
    // The command selected the first row before its first pass.
    if (passes_++ > 0)
        walk_.selectFirst();
    const int cell = column == Column::Label ? Timeline::Label : Timeline::Delay;
    walk_.pass([&](int row) { visit(row, ui_.itemText(Control::Sequencer, row, cell)); });
}

} // namespace visemer
