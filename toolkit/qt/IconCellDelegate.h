#pragma once

#include <QStyledItemDelegate>

namespace visemer {

// Draws one entry of a list shown as large icons in a cell of fixed size:
// the icon fitted into a box at the top, whatever size its picture is or
// none at all, and the label whole below it. Entries with and without
// pictures then line up, and a picture never covers a label.
class IconCellDelegate final : public QStyledItemDelegate {
public:
    IconCellDelegate(QObject* parent, QSize cell, QSize iconBox);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Where the icon and the label of an entry go in its cell.
    QRect iconRect(const QRect& cell) const;
    QRect labelRect(const QRect& cell) const;

private:
    QSize cell_;
    QSize iconBox_;
};

} // namespace visemer
