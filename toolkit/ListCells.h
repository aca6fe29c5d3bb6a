#pragma once

#include "toolkit/ToolkitTypes.h"

#include <string>
#include <string_view>
#include <vector>

namespace visemer {

// The rows of a list view as text cells, each row with an optional icon.
// Both toolkits keep their list contents here, so reading and writing cells
// behaves the same everywhere.
//
// A timeline may run to a million rows, so a row is kept small: all its
// cells in one string, each cell's length (a variable-length number) before
// its bytes, which for the short cells of a frame fits in the string itself
// with no allocation of its own. Icons take room only in lists that have any.
class ListCells {
public:
    // Reading a cell gives at most this many bytes of it.
    static constexpr std::size_t kMaxCellRead = 10000;

    int rowCount() const { return static_cast<int>(rows_.size()); }
    int columnCount() const { return columns_; }
    bool hasRow(int row) const { return row >= 0 && row < rowCount(); }

    // The text up to the first line feed fills column 0, each further
    // line-feed-separated piece the next column. Position -1, or one past
    // the end, appends; gives the index of the new row.
    int insert(int position, const std::string& text, Image icon);
    void remove(int row);
    void clear();

    std::string cell(int row, int column) const;
    bool setCell(int row, int column, const std::string& text);
    Image icon(int row) const;

    void insertColumn(int position);

private:
    static std::vector<std::string_view> unpack(std::string_view row);
    static std::string pack(const std::vector<std::string_view>& cells);

    std::vector<std::string> rows_;
    std::vector<Image> icons_; // empty until a row is given an icon
    int columns_ = 1;
};

} // namespace visemer
