#pragma once

#include "project/RowSource.h"

namespace visemer {

class RowWalk;
class UiToolkit;

// The sequencer's rows as the writers read them: each column in one pass of
// the walk, the selection put back on the first row between passes, as the
// editor has always written its files.
class WalkedRows final : public RowSource {
public:
    WalkedRows(UiToolkit& ui, RowWalk& walk) : ui_(ui), walk_(walk) {}

    std::int64_t rows() const override;
    void eachCell(Column column,
                  const std::function<void(std::int64_t row, const std::string&)>& visit) override;

private:
    UiToolkit& ui_;
    RowWalk& walk_;
    int passes_ = 0;
};

} // namespace visemer
