// The survey's grid transformed (reduced to the pole, continued, differentiated...), as
// the tool and the window show it: the field's direction from IGRF-14 over the survey
// unless one is told, the transformed grid contoured anew in its own unit.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "survey/SurveyGridding.h"
#include "transforms/GridTransform.h"

namespace velkor {

class Survey;

class TransformedGridding {
  public:
    struct Asked {
        GridTransform::Parameters parameters;
        // Whether parameters.field was told; if not, a reduction to the pole takes IGRF-14
        // over the survey (see MainFieldDirection). The magnetisation, when not told, is
        // the field's.
        bool fieldGiven = false;
        double interval = 0.0;  // between contour levels in the transform's unit; 0 default
    };
    struct Result {
        SurveyGridding::Result gridding;  // the transformed grid, contoured and named
        // The transform and its parameters, the padding and the taper, and any warning, as
        // the tool prints them.
        std::vector<std::string> report;
    };

    // Nothing and a message in plain words when there is no grid, no direction to take or
    // the transform refuses.
    static std::optional<Result> run(const Survey& survey, const SurveyGridding::Result& gridded,
                                     const Asked& asked, std::string& message);
    // "reduction to the pole", "upward continuation", ... for the kind.
    static const char* title(GridTransform::Kind kind);
    // What the transform did with its parameters, without the field's source:
    // "field inclination 65.2, declination 3.1; magnetisation the field's; ...".
    static std::string parametersOf(const GridTransform::Parameters& parameters);
    // "Transform: rtp (reduction to the pole), field inclination ...", of a transformed
    // gridding, as the title block and the window name it.
    static std::string describe(const SurveyGridding::Result& transformed);
};

}  // namespace velkor
