// Any transform of any small grid, with any parameters: values where the grid has them and
// nothing where it is blanked, every value finite, or a refusal that says why.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "fuzz/FuzzPrompter.h"
#include "fuzz/FuzzedText.h"
#include "transforms/GridTransform.h"

using namespace velkor;

namespace {

GridTransform::Direction direction(FuzzedDataProvider& in) {
    return {FuzzedText::number(in, -90.0, 90.0), FuzzedText::number(in, -360.0, 360.0)};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider in(bytes, size);
    Grid filled;
    filled.lattice.nx = in.ConsumeIntegralInRange(0, 40);
    filled.lattice.ny = in.ConsumeIntegralInRange(0, 40);
    filled.lattice.cell = std::pow(10.0, in.ConsumeIntegralInRange(-3, 4));
    filled.values.resize(filled.lattice.size());
    Grid blanked = filled;
    for (std::size_t k = 0; k < filled.values.size(); ++k) {
        filled.values[k] = in.ConsumeBool() ? in.ConsumeFloatingPointInRange(-1e7, 1e7)
                                            : FuzzedText::number(in, -1e7, 1e7);
        blanked.values[k] = in.ConsumeIntegralInRange(0, 5) == 0 ? Grid::kNoData : 0.0;
    }
    GridTransform::Parameters p;
    p.kind = static_cast<GridTransform::Kind>(in.ConsumeIntegralInRange(0, 7));
    p.height = FuzzedText::number(in, -10.0, 100.0);
    p.order = in.ConsumeIntegralInRange(0, 3);
    p.field = direction(in);
    if (in.ConsumeBool()) {
        p.magnetisation = direction(in);
    }
    p.rtpLimitInclination = FuzzedText::number(in, -10.0, 100.0);
    std::string message;
    const auto r = GridTransform::apply(filled, blanked, p, message);
    if (!r) {
        FuzzPrompter::require(!message.empty(), "a refusal says why");
        return 0;
    }
    FuzzPrompter::require(r->grid.values.size() == blanked.values.size(), "one value a node");
    for (std::size_t k = 0; k < r->grid.values.size(); ++k) {
        FuzzPrompter::require(Grid::isNoData(blanked.values[k]) ? Grid::isNoData(r->grid.values[k])
                                                                : std::isfinite(r->grid.values[k]),
                              "finite where the grid has values, nothing where it is blanked");
    }
    return 0;
}
