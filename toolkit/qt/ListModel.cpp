#include "toolkit/qt/ListModel.h"

#include "toolkit/qt/TextBytes.h"

#include <algorithm>

namespace visemer {

ListModel::ListModel(QObject* parent, const std::string& firstColumnTitle)
    : QAbstractTableModel(parent), titles_{toQt(firstColumnTitle)} {}

int ListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : announced_;
}

void ListModel::announceRows() {
    if (!hasUnannouncedRows())
        return;
    beginInsertRows({}, announced_, cells_.rowCount() - 1);
    announced_ = cells_.rowCount();
    endInsertRows();
}

int ListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : cells_.columnCount();
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return toQt(cells_.cell(index.row(), index.column()));
    if (role == Qt::DecorationRole && index.column() == 0 && !icons_.empty()) {
        const QIcon& icon = icons_[static_cast<std::size_t>(index.row())];
        if (!icon.isNull())
            return icon;
    }
    return {};
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= static_cast<int>(titles_.size()))
        return {};
    if (role == Qt::DisplayRole)
        return titles_[static_cast<std::size_t>(section)];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

void ListModel::insertRow(int position, const std::string& text, const QIcon& icon) {
    const int at = (position < 0 || position > cells_.rowCount()) ? cells_.rowCount() : position;
    const bool appended = at == cells_.rowCount();
    if (!appended) {
        announceRows();
        beginInsertRows({}, at, at);
    }
    cells_.insert(at, text, Image{});
    // Lists without icons keep no room for them.
    if (!icon.isNull() || !icons_.empty()) {
        icons_.resize(static_cast<std::size_t>(cells_.rowCount() - 1));
        icons_.insert(icons_.begin() + at, icon);
    }
    if (!appended) {
        ++announced_;
        endInsertRows();
    }
}

void ListModel::removeRow(int row) {
    if (!cells_.hasRow(row))
        return;
    announceRows();
    beginRemoveRows({}, row, row);
    cells_.remove(row);
    if (!icons_.empty())
        icons_.erase(icons_.begin() + row);
    --announced_;
    endRemoveRows();
}

void ListModel::clearRows() {
    beginResetModel();
    cells_.clear();
    icons_.clear();
    announced_ = 0;
    endResetModel();
}

bool ListModel::setCell(int row, int column, const std::string& text, bool quietly) {
    if (!cells_.setCell(row, column, text))
        return false;
    if (!quietly && row < announced_) {
        const QModelIndex changed = index(row, column);
        Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole});
    }
    return true;
}

void ListModel::insertColumn(int position, const std::string& title) {
    announceRows();
    const int at = std::clamp(position, 0, cells_.columnCount());
    beginInsertColumns({}, at, at);
    cells_.insertColumn(at);
    titles_.insert(titles_.begin() + at, toQt(title));
    endInsertColumns();
}

} // namespace visemer
