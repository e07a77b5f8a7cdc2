// The data list view: every reading as a row of its fields.
#pragma once

#include <QTableView>
#include <vector>

#include "core/CommandTarget.h"
#include "widgets/shared/Printable.h"

namespace velkor {

class ViewedDocument;
class DataListModel;
class PrintController;

class CVelkor1trView : public QTableView, public CommandTarget, public Printable {
    Q_OBJECT

  public:
    CVelkor1trView(ViewedDocument& doc, PrintController& printing, QWidget* parent = nullptr);

    bool onCommand(int id) override;
    // Printing prints the readings selected when it starts.
    int preparePrinting() override;
    void printPage(QPainter& painter, int width, int height, int page) override;

    // Rebuilds every row from the data set.
    void rebuild();
    // Another data set is in place: nothing selected, its first row at the top.
    void startAtFirstRow();
    // Selected rows in increasing order.
    std::vector<int> selectedRowList() const;
    // Selects exactly these rows.
    void selectRows(const std::vector<int>& rows);

  signals:
    // This view deleted readings: the document's other views should rebuild.
    void readingsDeleted();

  private:
    void deleteSelected();

    ViewedDocument& doc_;
    PrintController& printing_;
    DataListModel* model_;
    std::vector<int> printRows_;
};

}  // namespace velkor
