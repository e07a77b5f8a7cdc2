// The table of a survey's base files and of its position tracks.
#include "widgets/survey/SourceFileTable.h"

#include <QHeaderView>

namespace velkor {
namespace {

constexpr int kFormatRole = Qt::UserRole;
constexpr int kColumnsRole = Qt::UserRole + 1;

// Handed to the table, which owns it.
QTableWidgetItem* fixedItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

}  // namespace

SourceFileTable::SourceFileTable(const QString& whatsThis, QWidget* parent)
    : QTableWidget(0, 3, parent) {
    setHorizontalHeaderLabels({"File", "Kind", "Offset (s)"});
    verticalHeader()->setVisible(false);
    // The file's name wants the room: kind and offset are short.
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    setTextElideMode(Qt::ElideLeft);  // the file's name shows, not its folders
    setWordWrap(false);
    setWhatsThis(whatsThis);
}

void SourceFileTable::addRow(const QString& file, int format, const QString& kind,
                             const QString& offset, const QString& columns) {
    const int row = rowCount();
    insertRow(row);
    setItem(row, 0, fixedItem(file));
    item(row, 0)->setData(kFormatRole, format);
    item(row, 0)->setData(kColumnsRole, columns);
    setItem(row, 1, fixedItem(kind));
    setItem(row, 2, new QTableWidgetItem(offset));
}

QString SourceFileTable::file(int row) const {
    return item(row, 0)->text();
}

int SourceFileTable::format(int row) const {
    return item(row, 0)->data(kFormatRole).toInt();
}

QString SourceFileTable::columns(int row) const {
    return item(row, 0)->data(kColumnsRole).toString();
}

std::optional<double> SourceFileTable::offset(int row) const {
    const QTableWidgetItem* cell = item(row, 2);
    bool ok = false;
    const double v = cell != nullptr ? cell->text().trimmed().toDouble(&ok) : 0.0;
    return ok ? std::optional<double>(v) : std::nullopt;
}

}  // namespace velkor
