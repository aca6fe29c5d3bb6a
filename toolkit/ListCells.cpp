#include "toolkit/ListCells.h"

#include <algorithm>

namespace visemer {

int ListCells::insert(int position, const std::string& text, Image icon) {
    Row row;
    row.icon = icon;
    std::string::size_type start = 0;
    for (;;) {
        const auto end = text.find('\n', start);
        row.cells.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos || static_cast<int>(row.cells.size()) == columns_)
            break;
        start = end + 1;
    }
    const int at = (position < 0 || position > rowCount()) ? rowCount() : position;
    rows_.insert(rows_.begin() + at, std::move(row));
    return at;
}

void ListCells::remove(int row) {
    if (hasRow(row))
        rows_.erase(rows_.begin() + row);
}

std::string ListCells::cell(int row, int column) const {
    if (!hasRow(row) || column < 0)
        return {};
    const auto& cells = rows_[row].cells;
    if (column >= static_cast<int>(cells.size()))
        return {};
    return cells[column].substr(0, kMaxCellRead);
}

bool ListCells::setCell(int row, int column, const std::string& text) {
    if (!hasRow(row) || column < 0 || column >= columns_)
        return false;
    auto& cells = rows_[row].cells;
    if (column >= static_cast<int>(cells.size()))
        cells.resize(column + 1);
    cells[column] = text;
    return true;
}

void ListCells::insertColumn(int position) {
    const int at = std::clamp(position, 0, columns_);
    ++columns_;
    for (auto& row : rows_)
        if (at < static_cast<int>(row.cells.size()))
            row.cells.insert(row.cells.begin() + at, std::string());
}

} // namespace visemer
