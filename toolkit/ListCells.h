#pragma once

#include "toolkit/ToolkitTypes.h"

#include <string>
#include <vector>

namespace visemer {

// The rows of a list view as text cells, each row with an optional icon.
// Both toolkits keep their list contents here, so reading and writing cells
// behaves the same everywhere.
class ListCells {
public:
    // Reading a cell gives at most this many bytes of it.
    static constexpr std::size_t kMaxCellRead = 10000;

    struct Row {
        std::vector<std::string> cells;
        Image icon;
    };

    int rowCount() const { return static_cast<int>(rows_.size()); }
    int columnCount() const { return columns_; }
    bool hasRow(int row) const { return row >= 0 && row < rowCount(); }

    // The text up to the first line feed fills column 0, each further
    // line-feed-separated piece the next column. Position -1, or one past
    // the end, appends; gives the index of the new row.
    int insert(int position, const std::string& text, Image icon);
    void remove(int row);
    void clear() { rows_.clear(); }

    std::string cell(int row, int column) const;
    bool setCell(int row, int column, const std::string& text);
    Image icon(int row) const { return hasRow(row) ? rows_[row].icon : Image{}; }

    void insertColumn(int position);

private:
    std::vector<Row> rows_;
    int columns_ = 1;
};

} // namespace visemer
