// The day's processing chain of the tool.
#include "cli/DayCorrection.h"

#include "core/Prompter.h"
#include "corrections/DecimalYear.h"
#include "corrections/TemporalCorrection.h"
#include "corrections/VariationSet.h"
#include "data/DataFile.h"
#include "data/DataSet.h"

namespace velkor {

bool DayCorrection::run(const Request& request, DataSet& data, VariationSet& set,
                        Prompter& prompter) {
    if (!load(request, data, set, prompter)) {
        return false;
    }
    if (request.variations) {
        data.basis = request.basis;
        TemporalCorrection::run(data, set, prompter);
    }
    return applyGeomag(request.geomag, data, prompter);
}

bool DayCorrection::corrected(const DataSet& data) {
    return data.temporalDone || data.geomagDone;
}

bool DayCorrection::load(const Request& request, DataSet& data, VariationSet& set,
                         Prompter& prompter) {
    return DataFile::load(request.path, data, prompter) &&
           (!request.variations || set.load(*request.variations, prompter));
}

bool DayCorrection::applyGeomag(const Geomag& geomag, DataSet& data, Prompter& prompter) {
    if (!geomag.given) {
        return true;
    }
    float value = geomag.value;
    if (geomag.fromModel) {
        const std::optional<float> f = firstDayField(data, geomag.place, prompter);
        if (!f) {
            return false;
        }
        value = *f;
    }
    data.geomag = value;
    data.geomagDone = true;
    return true;
}

std::optional<float> DayCorrection::firstDayField(const DataSet& data,
                                                  const GeomagneticModel::Place& place,
                                                  Prompter& prompter) {
    const auto date =
        data.readingCount() > 0 ? DecimalYear::readDate(data.field(1, Column::Date)) : std::nullopt;
    if (!date) {
        prompter.message(
            "The first reading has no date the field model can use, so there is no "
            "geomagnetic field value; nothing was written.");
        return std::nullopt;
    }
    const GeomagneticModel::Result r = GeomagneticModel::compute(place, DecimalYear::of(*date));
    if (!r.ok) {
        prompter.message(r.message);
        return std::nullopt;
    }
    return GeomagneticModel::roundedIntensity(r.field);
}

}  // namespace velkor
