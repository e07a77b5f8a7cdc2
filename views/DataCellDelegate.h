// Paints the data list's cells as the style does, with one text layout per cell
// instead of the style's three.
#pragma once

#include <QStyledItemDelegate>

class QStyle;

namespace velkor {

class DataCellDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // Whether the style draws an item's text the way this delegate repeats it.
    static bool knowsTextOf(const QStyle& style);
};

}  // namespace velkor
