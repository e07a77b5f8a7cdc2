// The data list's table: one row per reading, cells cut from the data line when shown.
#pragma once

#include <QAbstractTableModel>

namespace velkor {

class DataSet;

class DataListModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    static constexpr int kColumns = 12;
    static constexpr int kCorrectedColumn = kColumns;  // after the others, when shown
    static constexpr int kCorrectedWidth = 100;

    explicit DataListModel(const DataSet& data, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The data set changed: every row is shown anew.
    void rebuild();
    // Adds or removes the "Corrected" column; takes effect at the next rebuild.
    void setCorrectedColumn(bool on) { correctedColumn_ = on; }
    bool hasCorrectedColumn() const { return correctedColumn_; }

    static int columnWidth(int column);

  private:
    QString cellText(int row, int column) const;

    const DataSet& data_;
    int rows_ = 0;
    bool correctedColumn_ = false;
    bool correctedShown_ = false;  // as of the last rebuild
};

}  // namespace velkor
