// Paints the data list's cells as the style does, with one text layout per cell
// instead of the style's three.
#include "widgets/day/DataCellDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QTextLayout>
#include <cmath>

namespace velkor {
namespace {

bool singleLine(const QString& text) {
    for (const QChar c : text) {
        if (c == QLatin1Char('\n') || c == QChar::LineSeparator || c == QChar::ParagraphSeparator) {
            return false;
        }
    }
    return true;
}

// Cells with nothing but a line of text, in a style whose drawing of it is repeated here.
bool plainCell(const QStyleOptionViewItem& option, const QStyle& style) {
    constexpr auto kOwnParts = QStyleOptionViewItem::WrapText |
                               QStyleOptionViewItem::HasCheckIndicator |
                               QStyleOptionViewItem::HasDecoration;
    constexpr auto kOwnStates =
        QStyle::State_HasFocus | QStyle::State_Editing | QStyle::State_MouseOver;
    // A selection shown behind the text alone follows the text's extent.
    const bool selectedText =
        (option.state & QStyle::State_Selected) != 0 && !option.showDecorationSelected;
    return (option.features & kOwnParts) == 0 && (option.state & kOwnStates) == 0 &&
           !selectedText && option.direction == Qt::LeftToRight &&
           DataCellDelegate::knowsTextOf(style) && singleLine(option.text);
}

// The line as the style lays it out; the glyphs stay for drawing instead of being shaped
// once more.
void layOut(QTextLayout& layout, const QStyleOptionViewItem& option, int width) {
    QTextOption layoutOption;
    layoutOption.setWrapMode(QTextOption::ManualWrap);
    layoutOption.setTextDirection(option.direction);
    layoutOption.setAlignment(QStyle::visualAlignment(option.direction, option.displayAlignment));
    layout.setTextOption(layoutOption);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(width);
    line.setPosition(QPointF(0, 0));
    layout.endLayout();
}

// Enough for every cell of a tall screen; then the store starts again.
constexpr std::size_t kMaxLayouts = 4096;

QColor textColor(const QStyleOptionViewItem& option) {
    QPalette::ColorGroup group =
        (option.state & QStyle::State_Enabled) != 0 ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && (option.state & QStyle::State_Active) == 0) {
        group = QPalette::Inactive;
    }
    return option.palette.color(group, (option.state & QStyle::State_Selected) != 0
                                           ? QPalette::HighlightedText
                                           : QPalette::Text);
}

}  // namespace

DataCellDelegate::DataCellDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

DataCellDelegate::~DataCellDelegate() = default;

bool DataCellDelegate::knowsTextOf(const QStyle& style) {
    const QString name = style.name();
    return name.compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0 ||
           name.compare(QLatin1String("windows"), Qt::CaseInsensitive) == 0;
}

void DataCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QStyle* style = opt.widget != nullptr ? opt.widget->style() : QApplication::style();
    if (!plainCell(opt, *style) || !paintPlain(*painter, opt, *style)) {
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
    }
}

bool DataCellDelegate::paintPlain(QPainter& painter, const QStyleOptionViewItem& option,
                                  const QStyle& style) const {
    const int margin = style.pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option.widget) + 1;
    const QRect textRect = option.rect.adjusted(margin, 0, -margin, 0);
    const QTextLayout& layout = laidOut(option, textRect.width());
    const QTextLine line = layout.lineAt(0);
    // The style cuts a text too long short, and places a line of a fractional height
    // by its own rounding.
    if (line.naturalTextWidth() > textRect.width() || line.height() != std::floor(line.height())) {
        return false;
    }
    // The style paints a selection or a cell's own background; other cells have nothing
    // but their text.
    if ((option.state & QStyle::State_Selected) != 0 ||
        option.backgroundBrush.style() != Qt::NoBrush) {
        QStyleOptionViewItem bare = option;
        bare.text.clear();
        bare.features &= ~QStyleOptionViewItem::HasDisplay;
        style.drawControl(QStyle::CE_ItemViewItem, &bare, &painter, option.widget);
    }
    const QRect layoutRect =
        QStyle::alignedRect(option.direction, option.displayAlignment & Qt::AlignVertical_Mask,
                            QSize(textRect.width(), static_cast<int>(line.height())), textRect);
    painter.save();
    painter.setClipRect(option.rect);
    painter.setPen(textColor(option));
    layout.draw(&painter, QPointF(textRect.x(), layoutRect.top()));
    painter.restore();
    return true;
}

const QTextLayout& DataCellDelegate::laidOut(const QStyleOptionViewItem& option, int width) const {
    if (option.font != font_ || layouts_.size() >= kMaxLayouts) {
        layouts_.clear();
        font_ = option.font;
    }
    auto& layout = layouts_[Shape{option.text, width, option.displayAlignment}];
    if (!layout) {
        layout = std::make_unique<QTextLayout>(option.text, option.font);
        layOut(*layout, option, width);
    }
    return *layout;
}

std::size_t DataCellDelegate::ShapeHash::operator()(const Shape& s) const {
    return qHash(s.text, static_cast<std::size_t>(s.width) * 31 + s.alignment.toInt());
}

}  // namespace velkor
