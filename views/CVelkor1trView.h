// The data list view: every reading as a row of its fields.
#pragma once

#include <QTableView>
#include <vector>

#include "app/CommandTarget.h"

namespace velkor {

class CVelkor1trDoc;
class DataListModel;

class CVelkor1trView : public QTableView, public CommandTarget {
    Q_OBJECT

  public:
    explicit CVelkor1trView(CVelkor1trDoc& doc, QWidget* parent = nullptr);

    bool onCommand(int id) override;

    // Rebuilds every row from the data set.
    void rebuild();
    // Selected rows in increasing order.
    std::vector<int> selectedRowList() const;

  signals:
    // This view deleted readings: the document's other views should rebuild.
    void readingsDeleted();

  private:
    void deleteSelected();

    CVelkor1trDoc& doc_;
    DataListModel* model_;
};

}  // namespace velkor
