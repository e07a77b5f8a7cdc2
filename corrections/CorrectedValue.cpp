// Corrected value of one reading.
#include "corrections/CorrectedValue.h"

#include "data/DataSet.h"
#include "text/NumberText.h"

namespace velkor {

bool CorrectedValue::available(const DataSet& data) {
    return data.temporalDone || data.geomagDone;
}

std::optional<float> CorrectedValue::of(const DataSet& data, int i) {
    if (i < 1 || i >= data.lineCount()) {
        return std::nullopt;
    }
    float value = 0.0f;
    if (data.temporalDone) {
        if (data.corrected(i) == DataSet::kNoValue) {
            return std::nullopt;  // uncorrected readings are left out, never 99999.0
        }
        value = data.corrected(i);
    } else if (data.mode(i) != 'A') {
        // A Field that holds no number has no corrected value: never 0 minus the field.
        const std::optional<double> field = readDecimalNumber(data.field(i, Column::Field));
        if (!field) {
            return std::nullopt;
        }
        value = static_cast<float>(*field);
    } else {
        return std::nullopt;
    }
    // The geomagnetic value is 0 until confirmed, so subtracting it always is harmless.
    return value - data.geomag;
}

}  // namespace velkor
