// The day's chain of work.
#include "day/DayChain.h"

#include "core/Prompter.h"
#include "corrections/DecimalYear.h"
#include "corrections/TemporalCorrection.h"
#include "data/DataFile.h"
#include "text/CalendarDate.h"

namespace velkor {

bool DayChain::load(const std::string& path) {
    return DataFile::load(path, data_, prompter_);
}

bool DayChain::write(const std::string& path) {
    return DataFile::write(path, data_, prompter_);
}

bool DayChain::loadVariations(const std::string& path) {
    if (!variations_.load(path, prompter_)) {
        return false;
    }
    data_.variationsLoaded = true;
    return true;
}

int DayChain::correctTemporal(float basis) {
    data_.basis = basis;
    return TemporalCorrection::run(data_, variations_, prompter_);
}

std::string DayChain::temporalStatus(int correctedNow) const {
    return CorrectionSummary::of(data_, variations_, CorrectionSummary::Counted::Slots)
        .statusText(correctedNow);
}

std::string DayChain::firstDate() const {
    return data_.readingCount() > 0 ? std::string(data_.field(1, Column::Date)) : std::string();
}

std::optional<float> DayChain::modelFieldOnFirstDay(const GeomagneticModel::Place& place) {
    const auto date = CalendarDate::read(firstDate());
    if (!date) {
        prompter_.message(
            "The first reading has no date the field model can use, so there is no "
            "geomagnetic field value; nothing was written.");
        return std::nullopt;
    }
    const GeomagneticModel::Result r = GeomagneticModel::compute(place, DecimalYear::of(*date));
    if (!r.ok) {
        prompter_.message(r.message);
        return std::nullopt;
    }
    return GeomagneticModel::roundedIntensity(r.field);
}

void DayChain::setGeomagnetic(float value) {
    data_.geomag = value;
    data_.geomagDone = true;
}

CorrectionSummary DayChain::summary() const {
    return CorrectionSummary::of(data_, variations_, CorrectionSummary::Counted::Export);
}

bool DayChain::exportFile(ExportFile::Kind kind, const std::string& path, int& rows) {
    return ExportFile::write(kind, path, data_, prompter_, rows);
}

}  // namespace velkor
