#pragma once

#include "toolkit/ListCells.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <vector>

namespace visemer {

// The rows of one list view control, as Qt's views see them.
class ListModel final : public QAbstractTableModel {
public:
    explicit ListModel(QObject* parent, const std::string& firstColumnTitle);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const ListCells& cells() const { return cells_; }
    void insertRow(int position, const std::string& text, const QIcon& icon);
    void removeRow(int row);
    void clearRows();
    // quietly: the views are not told; the caller repaints them itself.
    bool setCell(int row, int column, const std::string& text, bool quietly = false);
    void insertColumn(int position, const std::string& title);

    // Rows appended one after another are told to the views in one go, when
    // the control next settles; until then the views see the rows before.
    bool hasUnannouncedRows() const { return announced_ < cells_.rowCount(); }
    void announceRows();

private:
    ListCells cells_;
    std::vector<QIcon> icons_; // empty until a row is given an icon
    std::vector<QString> titles_;
    int announced_ = 0;
};

} // namespace visemer
