// A survey opened and, when asked, gridded as grid, contours and plot do it: the survey's
// gridding with what the options change for this once, the gridding's report on stdout.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "survey/Survey.h"
#include "survey/SurveyGridding.h"
#include "survey/SurveySettings.h"
#include "survey/TransformedGridding.h"

namespace velkor {

class SurveyEdit;
class SurveyGriddingOptions;

class GriddedSurvey {
  public:
    // What the survey is gridded into; out, the file the command writes, must be none of
    // the survey's own.
    struct Asked {
        std::string surveyPath;
        std::string out;
        bool grid = true;
        // Every file out is made of (with its sidecars); empty: out alone.
        std::vector<std::string> parts{};
        // The grid is to be transformed: the interval is the transform's, not the grid's.
        bool transformed = false;
    };

    // 0; 1 after the message when the survey cannot be opened or gridded; 2 after a usage
    // error.
    int make(const Asked& asked, const SurveyGriddingOptions& options, SurveyEdit& edit,
             std::ostream& out, std::ostream& err);

    // After make, the grid transformed as asked, at the interval the options give: the
    // result is then the transform's, its report on out. 0, or 1 after the message.
    int transform(TransformedGridding::Asked asked, std::ostream& out, std::ostream& err);

    std::optional<Survey> survey;
    SurveySettings::Gridding gridding;
    SurveyGridding::Result result;
};

}  // namespace velkor
