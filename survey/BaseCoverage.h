// Whether a base source can correct any reading of a survey at all, told in words.
#pragma once

#include <string>
#include <vector>

#include "survey/BaseSource.h"
#include "survey/Survey.h"

namespace velkor {

class BaseCoverage {
  public:
    // The Date texts of the survey's days' readings, each once, in order of appearance.
    static std::vector<std::string> dates(const Survey& survey);
    // Empty when the source holds samples of a date some reading is looked for on;
    // otherwise "base.csv: its dates (06.07.2026 to 09.07.2026) never meet the survey's
    // (01.08.2026 to 03.08.2026)".
    static std::string problem(const BaseSource& source, const std::vector<std::string>& dates);
};

}  // namespace velkor
