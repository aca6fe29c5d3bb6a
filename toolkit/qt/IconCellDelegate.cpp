#include "toolkit/qt/IconCellDelegate.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>

namespace visemer {
namespace {
constexpr int kGap = 2;
} // namespace

IconCellDelegate::IconCellDelegate(QObject* parent, QSize cell, QSize iconBox)
    : QStyledItemDelegate(parent), cell_(cell), iconBox_(iconBox) {}

QRect IconCellDelegate::iconRect(const QRect& cell) const {
    return {cell.x() + (cell.width() - iconBox_.width()) / 2, cell.y() + kGap, iconBox_.width(),
            iconBox_.height()};
}

QRect IconCellDelegate::labelRect(const QRect& cell) const {
    const int top = iconRect(cell).bottom() + 1 + kGap;
    return {cell.x(), top, cell.width(), cell.bottom() + 1 - top};
}

QSize IconCellDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    return cell_;
}

void IconCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    QStyleOptionViewItem item(option);
    initStyleOption(&item, index);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();

    // The selection's background only; icon and label are placed here.
    item.text.clear();
    item.icon = QIcon();
    item.features &= ~QStyleOptionViewItem::HasDecoration;
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &item, painter, widget);

    painter->save();
    painter->setClipRect(option.rect);
    const auto icon = index.data(Qt::DecorationRole).value<QIcon>();
    if (!icon.isNull()) {
        const bool selected = option.state & QStyle::State_Selected;
        // Fitted into the box: a larger picture is scaled down, keeping its shape.
        icon.paint(painter, iconRect(option.rect), Qt::AlignCenter,
                   selected ? QIcon::Selected : QIcon::Normal);
    }
    const bool selected = option.state & QStyle::State_Selected;
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(option.font);
    painter->drawText(labelRect(option.rect), Qt::AlignHCenter | Qt::AlignTop,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}

} // namespace visemer
