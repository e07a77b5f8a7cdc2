// The day's processing chain of the tool, on the chain the window's document drives.
#include "cli/DayCorrection.h"

#include "corrections/CorrectedValue.h"
#include "data/DataSet.h"
#include "day/DayChain.h"

namespace velkor {

bool DayCorrection::run(const Request& request, DayChain& chain) {
    if (!chain.load(request.path) ||
        (request.variations && !chain.loadVariations(*request.variations))) {
        return false;
    }
    if (request.variations) {
        chain.correctTemporal(request.basis);
    }
    if (!request.geomag.given) {
        return true;
    }
    std::optional<float> value = request.geomag.value;
    if (request.geomag.fromModel) {
        value = chain.modelFieldOnFirstDay(request.geomag.place);
    }
    if (value) {
        chain.setGeomagnetic(*value);
    }
    return value.has_value();
}

bool DayCorrection::corrected(const DataSet& data) {
    return CorrectedValue::available(data);
}

}  // namespace velkor
