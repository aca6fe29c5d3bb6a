#include "toolkit/ListCells.h"

#include <algorithm>

namespace visemer {
namespace {

void appendLength(std::string& out, std::size_t length) {
    while (length >= 0x80) {
        out.push_back(static_cast<char>(0x80 | (length & 0x7F)));
        length >>= 7;
    }
    out.push_back(static_cast<char>(length));
}

std::size_t readLength(std::string_view in, std::size_t& at) {
    std::size_t length = 0;
    for (int shift = 0; at < in.size(); shift += 7) {
        const auto byte = static_cast<unsigned char>(in[at++]);
        length |= static_cast<std::size_t>(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            break;
    }
    return length;
}

} // namespace

std::vector<std::string_view> ListCells::unpack(std::string_view row) {
    std::vector<std::string_view> cells;
    std::size_t at = 0;
    while (at < row.size()) {
        const std::size_t length = readLength(row, at);
        cells.push_back(row.substr(at, length));
        at += length;
    }
    return cells;
}

std::string ListCells::pack(const std::vector<std::string_view>& cells) {
    std::string row;
    for (const std::string_view cell : cells) {
        appendLength(row, cell.size());
        row.append(cell);
    }
    return row;
}

int ListCells::insert(int position, const std::string& text, Image icon) {
    std::vector<std::string_view> cells;
    const std::string_view pieces(text);
    std::size_t start = 0;
    for (;;) {
        const auto end = pieces.find('\n', start);
        cells.push_back(pieces.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos || static_cast<int>(cells.size()) == columns_)
            break;
        start = end + 1;
    }
    const int at = (position < 0 || position > rowCount()) ? rowCount() : position;
    rows_.insert(rows_.begin() + at, pack(cells));
    if (!icon.isNull() || !icons_.empty()) {
        icons_.resize(rows_.size() - 1);
        icons_.insert(icons_.begin() + at, icon);
    }
    return at;
}

void ListCells::remove(int row) {
    if (!hasRow(row))
        return;
    rows_.erase(rows_.begin() + row);
    if (!icons_.empty())
        icons_.erase(icons_.begin() + row);
}

void ListCells::clear() {
    rows_.clear();
    icons_.clear();
}

std::string ListCells::cell(int row, int column) const {
    if (!hasRow(row) || column < 0)
        return {};
    const std::string_view packed(rows_[static_cast<std::size_t>(row)]);
    std::size_t at = 0;
    for (int skipped = 0; at < packed.size(); ++skipped) {
        const std::size_t length = readLength(packed, at);
        if (skipped == column)
            return std::string(packed.substr(at, std::min(length, kMaxCellRead)));
        at += length;
    }
    return {};
}

bool ListCells::setCell(int row, int column, const std::string& text) {
    if (!hasRow(row) || column < 0 || column >= columns_)
        return false;
    std::string& packed = rows_[static_cast<std::size_t>(row)];
    // Find the cell's bytes, length included; a row with fewer cells gets
    // empty ones up to it.
    std::size_t at = 0;
    int cellIndex = 0;
    for (; cellIndex < column && at < packed.size(); ++cellIndex) {
        const std::size_t length = readLength(packed, at);
        at += length;
    }
    if (cellIndex < column) {
        packed.append(static_cast<std::size_t>(column - cellIndex), '\0');
        at = packed.size();
    }
    std::size_t end = at;
    if (end < packed.size()) {
        const std::size_t length = readLength(packed, end);
        end += length;
    }
    std::string cell;
    appendLength(cell, text.size());
    cell += text;
    packed.replace(at, std::min(end, packed.size()) - at, cell);
    return true;
}

Image ListCells::icon(int row) const {
    return hasRow(row) && !icons_.empty() ? icons_[static_cast<std::size_t>(row)] : Image{};
}

void ListCells::insertColumn(int position) {
    const int at = std::clamp(position, 0, columns_);
    ++columns_;
    for (auto& packed : rows_) {
        std::vector<std::string_view> cells = unpack(packed);
        if (at < static_cast<int>(cells.size())) {
            cells.insert(cells.begin() + at, std::string_view());
            packed = pack(cells);
        }
    }
}

} // namespace visemer
