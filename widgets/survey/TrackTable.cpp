// The position tracks of the survey settings.
#include "widgets/survey/TrackTable.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "core/Prompter.h"
#include "survey/TrackSource.h"
#include "text/QuotedText.h"
#include "widgets/survey/SourceFileTable.h"

namespace velkor {
namespace {

constexpr const char* kTrackFilter =
    "Position tracks (*.gpx;*.nmea;*.nma;*.log;*.txt;*.csv)|*.gpx;*.nmea;*.nma;*.log;*.txt;*.csv|"
    "All files (*.*)|*||";

QString trackKindName(SurveySettings::Track::Format f) {
    using F = SurveySettings::Track::Format;
    return f == F::Nmea ? "NMEA" : f == F::Csv ? "CSV" : "GPX";
}

}  // namespace

TrackTable::TrackTable(Prompter& prompter, QWidget* parent)
    : QGroupBox("Positions", parent), prompter_(prompter) {
    auto* layout = new QVBoxLayout(this);
    table_ = new SourceFileTable(
        "The position tracks of a GNSS receiver carried with the sensor: GPX files, NMEA logs "
        "or CSV files of times and positions, told by their content when added. The offset in "
        "seconds is added to the track's times to bring them to the instrument's clock (GNSS "
        "time is UTC: an instrument set to UTC+2 needs 7200). Placed by position track, a "
        "reading takes its place from the first track that has its moment.",
        this);
    table_->setObjectName("tracks");
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

void TrackTable::addRow(const SurveySettings::Track& t) {
    table_->addRow(QString::fromStdString(t.path), static_cast<int>(t.format),
                   trackKindName(t.format), QString::number(t.offset, 'g', 15),
                   QString::fromStdString(t.columns));
}

std::optional<std::vector<SurveySettings::Track>> TrackTable::tracks(std::string& message) const {
    std::vector<SurveySettings::Track> out;
    for (int row = 0; row < table_->rowCount(); ++row) {
        const std::optional<double> offset = table_->offset(row);
        if (!offset || !std::isfinite(*offset)) {
            message = "Position track " + std::to_string(row + 1) +
                      ": the offset must be a number of seconds.";
            return std::nullopt;
        }
        SurveySettings::Track t;
        t.path = table_->file(row).toStdString();
        t.format = static_cast<SurveySettings::Track::Format>(table_->format(row));
        t.offset = *offset;
        t.columns = table_->columns(row).toStdString();
        out.push_back(std::move(t));
    }
    return out;
}

}  // namespace velkor
