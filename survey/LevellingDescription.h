// What levelling estimated, told in words: the survey's info, the tool's level command and
// the window's summary print these lines.
#pragma once

#include <string>
#include <vector>

#include "survey/Survey.h"

namespace velkor {

class LevellingDescription {
  public:
    // Why no stagger or direction offset can be told: said by the report and the refusals.
    static constexpr const char* kOneWay =
        "every line was walked the same way: no two neighbouring lines were walked in "
        "opposite directions to compare";

    // Each step asked for and its estimate; each line's shift too when everyLine. Nothing
    // for a survey that is not levelled.
    static std::vector<std::string> lines(const Survey& survey, bool everyLine);
    // The same for a report of levelling as asked, which need not be the survey's own.
    static std::vector<std::string> lines(const Survey& survey,
                                          const SurveySettings::Levelling& asked,
                                          const SurveyLevelling::Report& report, bool everyLine);
    // "day1.velkor, day3.velkor": the days no tie reaches.
    static std::string untiedDays(const Survey& survey);
};

}  // namespace velkor
