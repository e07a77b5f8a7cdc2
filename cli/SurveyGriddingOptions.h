// --what, --cell, --tension, --blank and --interval, the same words for set, grid, contours
// and plot: set keeps them in the survey, the others use them for this once. They are kept
// as typed; empty leaves the survey's own.
#pragma once

#include <optional>
#include <string>

#include "survey/SurveySettings.h"

namespace CLI {
class App;
}

namespace velkor {

class SurveyGriddingOptions {
  public:
    std::string what;
    std::string cell;
    std::string tension;
    std::string blank;
    std::string interval;

    // contoured: --interval too.
    void declare(CLI::App& command, bool contoured);
    // The gridding with what the options change; nothing and a usage error's text in
    // problem when a value does not fit.
    std::optional<SurveySettings::Gridding> applied(SurveySettings::Gridding gridding,
                                                    std::string& problem) const;
};

}  // namespace velkor
