// The position tracks of the survey settings.
#include "widgets/survey/TrackTable.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "core/Prompter.h"
#include "survey/TrackSource.h"
#include "text/QuotedText.h"

namespace velkor {
namespace {

constexpr int kTrackFormatRole = Qt::UserRole;
constexpr const char* kTrackFilter =
    "Position tracks (*.gpx;*.nmea;*.nma;*.log;*.txt;*.csv)|*.gpx;*.nmea;*.nma;*.log;*.txt;*.csv|"
    "All files (*.*)|*||";

QString trackKindName(SurveySettings::Track::Format f) {
    using F = SurveySettings::Track::Format;
    return f == F::Nmea ? "NMEA" : f == F::Csv ? "CSV" : "GPX";
}

// Handed to the table, which owns it.
QTableWidgetItem* fixedItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

}  // namespace

TrackTable::TrackTable(Prompter& prompter, QWidget* parent)
    : QGroupBox("Positions", parent), prompter_(prompter) {
    auto* layout = new QVBoxLayout(this);
    table_ = new QTableWidget(0, 3, this);
    table_->setObjectName("tracks");
    table_->setHorizontalHeaderLabels({"File", "Kind", "Offset (s)"});
    table_->verticalHeader()->setVisible(false);
    table_->horizontalHeader()->setStretchLastSection(false);
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    // The file's name wants the room: kind and offset are short.
    table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    table_->setTextElideMode(Qt::ElideLeft);  // the file's name shows, not its folders
    table_->setWordWrap(false);
    table_->setWhatsThis(
        "The position tracks of a GNSS receiver carried with the sensor: GPX files, NMEA "
        "logs or CSV files of times and positions, told by their content when added. The offset in "
        "seconds is added to the "
        "track's times to bring them to the instrument's clock (GNSS time is UTC: an "
        "instrument set to UTC+2 needs 7200). Placed by position track, a reading takes "
        "its place from the first track that has its moment.");
    layout->addWidget(table_);
    auto* add = new QPushButton("Add Track...", this);
    auto* remove = new QPushButton("Remove Track", this);
    connect(add, &QPushButton::clicked, this, &TrackTable::add);
    connect(remove, &QPushButton::clicked, this,
            [this] { table_->removeRow(table_->currentRow()); });
    auto* row = new QHBoxLayout;
    row->addWidget(add);
    row->addWidget(remove);
    row->addStretch();
    layout->addLayout(row);
}

void TrackTable::load(const std::vector<SurveySettings::Track>& tracks) {
    table_->setRowCount(0);
    for (const SurveySettings::Track& t : tracks) {
        addRow(t);
    }
}

void TrackTable::add() {
    const std::optional<std::string> path = prompter_.askOpenFile(kTrackFilter, "gpx");
    if (!path) {
        return;
    }
    const std::optional<TrackSource::Format> format = TrackSource::detect(*path);
    if (!format) {
        prompter_.message(
            QuotedText::of(*path) +
            ": neither a GPX file nor an NMEA log nor a CSV file of times and positions");
        return;
    }
    SurveySettings::Track t;
    t.path = *path;
    t.format = *format;
    addRow(t);
}

// The kind rides with the file's cell: the table changes neither.
void TrackTable::addRow(const SurveySettings::Track& t) {
    const int row = table_->rowCount();
    table_->insertRow(row);
    table_->setItem(row, 0, fixedItem(QString::fromStdString(t.path)));
    table_->item(row, 0)->setData(kTrackFormatRole, static_cast<int>(t.format));
    table_->setItem(row, 1, fixedItem(trackKindName(t.format)));
    table_->setItem(row, 2, new QTableWidgetItem(QString::number(t.offset, 'g', 15)));
}

std::optional<std::vector<SurveySettings::Track>> TrackTable::tracks(std::string& message) const {
    std::vector<SurveySettings::Track> out;
    for (int row = 0; row < table_->rowCount(); ++row) {
        const QTableWidgetItem* cell = table_->item(row, 2);
        bool ok = false;
        const double offset = cell != nullptr ? cell->text().trimmed().toDouble(&ok) : 0.0;
        if (!ok || !std::isfinite(offset)) {
            message = "Position track " + std::to_string(row + 1) +
                      ": the offset must be a number of seconds.";
            return std::nullopt;
        }
        const QTableWidgetItem* file = table_->item(row, 0);
        SurveySettings::Track t;
        t.path = file->text().toStdString();
        t.format = static_cast<SurveySettings::Track::Format>(file->data(kTrackFormatRole).toInt());
        t.offset = offset;
        out.push_back(std::move(t));
    }
    return out;
}

}  // namespace velkor
