// A table of a survey's source files, base files or position tracks alike: the file (its
// name shown, its folders elided), the kind it was told to be, and the seconds added to its
// times. What the dialog never changes (the format, a CSV file's columns) rides with the
// file's cell, so that what the table gives back reads the file as it was read.
#pragma once

#include <QTableWidget>
#include <optional>

namespace velkor {

class SourceFileTable : public QTableWidget {
  public:
    SourceFileTable(const QString& whatsThis, QWidget* parent);

    // File and kind cannot be edited, the offset can.
    void addRow(const QString& file, int format, const QString& kind, const QString& offset,
                const QString& columns = QString());
    QString file(int row) const;
    int format(int row) const;
    QString columns(int row) const;
    // Nothing when the offset's cell is not a number.
    std::optional<double> offset(int row) const;
};

}  // namespace velkor
