// What every prompter does unless it knows better.
#include "core/Prompter.h"

#include "corrections/VariationSet.h"

namespace velkor {

void Prompter::showBaseStation(const VariationSet& variations, const DataSet&) {
    showVariations(variations.path(), variations.lines());
}

}  // namespace velkor
