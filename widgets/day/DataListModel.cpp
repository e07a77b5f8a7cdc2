// Data list table model.
#include "widgets/day/DataListModel.h"

#include <array>
#include <optional>

#include "corrections/CorrectedValue.h"
#include "data/DataSet.h"
#include "text/TextFormat.h"

namespace velkor {
namespace {

struct ColumnInfo {
    const char* header;
    int width;
};

constexpr std::array<ColumnInfo, DataListModel::kColumns> kInfo{{
    {"No.", 60},
    {"M", 30},
    {"Date", 110},
    {"Time", 100},
    {"Line", 80},
    {"Position", 80},
    {"Field", 120},
    {"Error", 50},
    {"Amp", 40},
    {"Decay", 50},
    {"Gradient", 120},
    {"Note", 80},
}};

// Columns 2 to 11 show these fields, in this order.
constexpr std::array<Column, 10> kFields{Column::Date,  Column::Time, Column::Line, Column::Pos,
                                         Column::Field, Column::Err,  Column::A,    Column::D,
                                         Column::Grad,  Column::Note};

}  // namespace

DataListModel::DataListModel(const DataSet& data, QObject* parent)
    : QAbstractTableModel(parent), data_(data), rows_(data.readingCount()) {}

int DataListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int DataListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns + (correctedShown_ ? 1 : 0);
}

int DataListModel::columnWidth(int column) {
    return kInfo[static_cast<std::size_t>(column)].width;
}

void DataListModel::rebuild() {
    beginResetModel();
    rows_ = data_.readingCount();
    correctedShown_ = correctedColumn_;
    endResetModel();
}

QString DataListModel::cellText(int row, int column) const {
    const int line = row + 1;
    if (line >= data_.lineCount()) {
        return {};  // never read past the lines the data set holds now
    }
    if (column == 0) {
        return QString::number(line);
    }
    if (column == kCorrectedColumn) {
        const std::optional<float> value = CorrectedValue::of(data_, line);
        return value ? QString::fromStdString(formatText("%0.1f", static_cast<double>(*value)))
                     : QString();
    }
    if (column == 1) {
        const std::string_view text = data_.line(line);
        return text.empty() ? QString() : QString(QLatin1Char(text[0]));
    }
    const std::string_view field = data_.field(line, kFields[static_cast<std::size_t>(column - 2)]);
    return QString::fromLatin1(field.data(), static_cast<qsizetype>(field.size()));
}

QVariant DataListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return cellText(index.row(), index.column());
    }
    if (role == Qt::TextAlignmentRole) {
        // Note, and the corrected value after it, stand at the right.
        const Qt::Alignment side = index.column() >= kColumns - 1 ? Qt::AlignRight : Qt::AlignLeft;
        return QVariant::fromValue(side | Qt::AlignVCenter);
    }
    return {};
}

QVariant DataListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) {
        return {};
    }
    if (section == kCorrectedColumn && role == Qt::DisplayRole) {
        return QStringLiteral("Corrected");
    }
    if (role == Qt::DisplayRole) {
        return QString::fromLatin1(kInfo[static_cast<std::size_t>(section)].header);
    }
    if (role == Qt::TextAlignmentRole) {
        const Qt::Alignment side = section >= kColumns - 1 ? Qt::AlignRight : Qt::AlignLeft;
        return QVariant::fromValue(side | Qt::AlignVCenter);
    }
    return {};
}

}  // namespace velkor
