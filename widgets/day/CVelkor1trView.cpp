// Data list view.
#include "widgets/day/CVelkor1trView.h"

#include <QHeaderView>
#include <algorithm>

#include "core/CommandTable.h"
#include "core/Prompter.h"
#include "pictures/SelectedReadingsPages.h"
#include "widgets/day/DataCellDelegate.h"
#include "widgets/day/DataListModel.h"
#include "widgets/day/ViewedDocument.h"
#include "widgets/shared/PrintController.h"
#include "widgets/shared/QPainterSurface.h"
#include "widgets/shared/WaitCursor.h"

namespace velkor {

CVelkor1trView::CVelkor1trView(ViewedDocument& doc, PrintController& printing, QWidget* parent)
    : QTableView(parent),
      doc_(doc),
      printing_(printing),
      model_(new DataListModel(doc.data(), this)) {
    setModel(model_);
    setItemDelegate(new DataCellDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    // Fixed row height keeps 20000 rows as quick as 20.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    for (int c = 0; c < DataListModel::kColumns; ++c) {
        setColumnWidth(c, DataListModel::columnWidth(c));
    }
    setWhatsThis(
        "Data list: every reading of the data set, one row each. Select rows with the mouse "
        "(Shift and Ctrl add to the selection); Delete removes the selected readings, Print "
        "prints them.");
}

bool CVelkor1trView::onCommand(int id) {
    switch (id) {
        case cmd::Delete:
            deleteSelected();
            return true;
        default:
            return printing_.onPrintCommand(id, *this);
    }
}

int CVelkor1trView::preparePrinting() {
    printRows_ = selectedRowList();
    if (printRows_.empty()) {
        doc_.prompter().message(SelectedReadingsPages::kNothingSelected);
        return 0;
    }
    return SelectedReadingsPages::pageCount(static_cast<int>(printRows_.size()));
}

void CVelkor1trView::printPage(QPainter& painter, int, int height, int page) {
    QPainterSurface surface(painter);
    SelectedReadingsPages::drawPage(surface, doc_.data(), printRows_, doc_.title(), height, page);
}

void CVelkor1trView::rebuild() {
    WaitCursor wait;
    const bool appears = doc_.showCorrected() && !model_->hasCorrectedColumn();
    model_->setCorrectedColumn(doc_.showCorrected());
    model_->rebuild();
    if (doc_.showCorrected()) {
        setColumnWidth(DataListModel::kCorrectedColumn, DataListModel::kCorrectedWidth);
    }
    // The new column lies right of the twelve that fill the window: bring it into view.
    if (appears && model_->rowCount() > 0) {
        const int top = std::max(rowAt(0), 0);
        scrollTo(model_->index(top, DataListModel::kCorrectedColumn), PositionAtTop);
    }
}

void CVelkor1trView::startAtFirstRow() {
    // A rebuild keeps the scroll position, which suits deletions but not a new file.
    selectionModel()->clear();
    scrollToTop();
}

std::vector<int> CVelkor1trView::selectedRowList() const {
    std::vector<int> rows;
    // Whole-row ranges (what row selection makes) give their rows directly;
    // selectedRows() would test every row against every range.
    const QItemSelection selection = selectionModel()->selection();
    const int lastColumn = model_->columnCount() - 1;
    bool wholeRows = true;
    for (const QItemSelectionRange& range : selection) {
        if (range.left() != 0 || range.right() != lastColumn || range.parent().isValid()) {
            wholeRows = false;
            break;
        }
        for (int row = range.top(); row <= range.bottom(); ++row) {
            rows.push_back(row);
        }
    }
    if (!wholeRows) {
        rows.clear();
        for (const QModelIndex& index : selectionModel()->selectedRows()) {
            rows.push_back(index.row());
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void CVelkor1trView::selectRows(const std::vector<int>& rows) {
    QItemSelection selection;
    const int lastColumn = model_->columnCount() - 1;
    for (int row : rows) {
        if (row >= 0 && row < model_->rowCount()) {
            selection.select(model_->index(row, 0), model_->index(row, lastColumn));
        }
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void CVelkor1trView::deleteSelected() {
    doc_.deleteRows(selectedRowList());
    rebuild();
    emit readingsDeleted();
}

}  // namespace velkor
