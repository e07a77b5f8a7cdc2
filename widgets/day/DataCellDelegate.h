// Paints the data list's cells as the style does, with one text layout per cell
// instead of the style's three, and one per text and cell width while the font stays.
#pragma once

#include <QFont>
#include <QStyledItemDelegate>
#include <memory>
#include <unordered_map>

class QStyle;
class QTextLayout;

namespace velkor {

class DataCellDelegate : public QStyledItemDelegate {
  public:
    explicit DataCellDelegate(QObject* parent = nullptr);
    ~DataCellDelegate() override;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // Whether the style draws an item's text the way this delegate repeats it.
    static bool knowsTextOf(const QStyle& style);

  private:
    struct Shape {
        QString text;
        int width;
        Qt::Alignment alignment;
        bool operator==(const Shape& o) const {
            return width == o.width && alignment == o.alignment && text == o.text;
        }
    };
    struct ShapeHash {
        std::size_t operator()(const Shape& s) const;
    };

    // False where the text needs what only the style does: cutting it short, or a line
    // height of a fraction of a pixel.
    bool paintPlain(QPainter& painter, const QStyleOptionViewItem& option,
                    const QStyle& style) const;
    // The text of OPTION laid out in one line of WIDTH.
    const QTextLayout& laidOut(const QStyleOptionViewItem& option, int width) const;

    // Lines already laid out: a day's list repeats dates, lines and flags on every row.
    mutable QFont font_;
    mutable std::unordered_map<Shape, std::unique_ptr<QTextLayout>, ShapeHash> layouts_;
};

}  // namespace velkor
