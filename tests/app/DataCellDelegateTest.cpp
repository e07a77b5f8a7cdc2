#include <gtest/gtest.h>

#include <QHeaderView>
#include <QPainter>
#include <QStandardItemModel>
#include <QStyleFactory>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QtMath>
#include <memory>

#include "widgets/day/DataCellDelegate.h"

namespace velkor {
namespace {

// Texts that fit, fit to the pixel, need cutting short, are empty, have blanks at
// either end, or need a fallback font.
const char* const kTexts[] = {"48123.4",
                              "03.07.2026",
                              "10:00:00",
                              "G",
                              "",
                              "  0.7",
                              "Base  ",
                              "-15.0",
                              "Ç ñ é",
                              "\u6e29 7",
                              "WWWWWWWWWWWWWWWWWWWWWWWW",
                              "1.5 1.5 1.5 1.5",
                              "7"};

QImage paintWith(QTableView& view, QAbstractItemDelegate& delegate) {
    view.setItemDelegate(&delegate);
    return view.viewport()->grab().toImage();
}

QImage paintCell(const QStyleOptionViewItem& option, QAbstractItemDelegate& delegate,
                 const QModelIndex& index) {
    QImage image(option.rect.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    delegate.paint(&painter, option, index);
    return image;
}

// Rows of every text in every alignment, in each of the model's columns.
void fillWithTexts(QStandardItemModel& model) {
    const Qt::Alignment sides[] = {
        Qt::AlignLeft | Qt::AlignVCenter, Qt::AlignRight | Qt::AlignVCenter,
        Qt::AlignHCenter | Qt::AlignTop, Qt::AlignRight | Qt::AlignBottom};
    int row = 0;
    for (const char* text : kTexts) {
        for (const Qt::Alignment side : sides) {
            QList<QStandardItem*> items;
            for (int c = 0; c < model.columnCount(); ++c) {
                auto* item = new QStandardItem(QString::fromUtf8(text));
                item->setTextAlignment(side);
                items << item;
            }
            model.insertRow(row++, items);
        }
    }
}

// A text colour of its own for each state, and an inactive highlight.
QPalette textColours() {
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Text, QColor(10, 20, 120));
    palette.setColor(QPalette::Inactive, QPalette::Text, QColor(120, 20, 10));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(128, 128, 128));
    palette.setColor(QPalette::Inactive, QPalette::Highlight, QColor(200, 200, 90));
    return palette;
}

// The view painted alike by both delegates in every font, size, hinting, row height,
// column width, enabled or not.
void expectAlikeInEveryFont(QTableView& view, const char* styleName, QAbstractItemDelegate& styled,
                            QAbstractItemDelegate& ours) {
    const int margins = 2 * (view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    for (const double points : {7.5, 9.0, 10.3, 12.7}) {
        for (const char* family : {"DejaVu Sans", "Liberation Sans", "DejaVu Sans Mono"}) {
            for (auto hinting : {QFont::PreferDefaultHinting, QFont::PreferNoHinting}) {
                QFont font(family);
                font.setPointSizeF(points);
                font.setHintingPreference(hinting);
                view.setFont(font);
                for (int rowHeight : {11, 17, 24}) {
                    view.verticalHeader()->setDefaultSectionSize(rowHeight);
                    // Columns too narrow, one pixel short of a field, just wide enough, and
                    // wide.
                    const int fit =
                        qCeil(QFontMetricsF(font).horizontalAdvance("48123.4")) + margins;
                    const int widths[] = {12, fit - 1, fit, fit + 1, 150};
                    for (int c = 0; c < view.model()->columnCount(); ++c) {
                        view.setColumnWidth(c, widths[c]);
                    }
                    for (bool enabled : {true, false}) {
                        view.setEnabled(enabled);
                        ASSERT_EQ(paintWith(view, styled), paintWith(view, ours))
                            << styleName << ", " << family << " " << points << " pt, rows "
                            << rowHeight << ", enabled " << enabled << " hinting " << hinting;
                    }
                }
            }
        }
    }
}

// The colours of an active window, which a grab does not show, and a selection behind the
// text alone: one cell painted straight through each delegate.
void expectAlikeWhenActive(QTableView& view, const char* styleName, QAbstractItemDelegate& styled,
                           QAbstractItemDelegate& ours) {
    for (const QStyle::State selected : {QStyle::State_None, QStyle::State_Selected}) {
        for (const bool wholeCell : {true, false}) {
            QStyleOptionViewItem option;
            option.initFrom(view.viewport());
            option.widget = &view;
            option.rect = QRect(0, 0, 90, 24);
            option.state = QStyle::State_Enabled | QStyle::State_Active | selected;
            option.showDecorationSelected = wholeCell;
            ASSERT_EQ(paintCell(option, styled, view.model()->index(2, 0)),
                      paintCell(option, ours, view.model()->index(2, 0)))
                << styleName << ", active, selected " << (selected != QStyle::State_None)
                << ", whole cell " << wholeCell;
        }
    }
}

}  // namespace

TEST(DataCellPixels, TheDelegatePaintsWhatTheStyleDoes) {
    QStandardItemModel model(0, 5);
    fillWithTexts(model);
    QStyledItemDelegate styled;
    DataCellDelegate ours;
    for (const char* styleName : {"Fusion", "Windows"}) {
        const std::unique_ptr<QStyle> style(QStyleFactory::create(styleName));
        ASSERT_TRUE(style && DataCellDelegate::knowsTextOf(*style)) << styleName;
        QTableView view;
        view.setStyle(style.get());
        view.setPalette(textColours());
        view.setModel(&model);
        view.setWordWrap(false);
        view.resize(520, 900);
        view.show();
        view.selectionModel()->select(model.index(3, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
        view.selectionModel()->setCurrentIndex(model.index(9, 2), QItemSelectionModel::Select);
        view.setFocus();
        ASSERT_NO_FATAL_FAILURE(expectAlikeInEveryFont(view, styleName, styled, ours));
        ASSERT_NO_FATAL_FAILURE(expectAlikeWhenActive(view, styleName, styled, ours));
        view.setItemDelegate(nullptr);
    }
}

}  // namespace velkor
