// The survey's settings with readings flagged or their flags cleared: the profiles' clicks
// and range boxes become settings the survey takes like every other change.
#pragma once

#include <string>
#include <vector>

#include "survey/SurveySettings.h"

namespace velkor {

class Survey;

class FlagEdit {
  public:
    static constexpr const char* kManual = SurveySettings::Flag::kManual;
    static constexpr const char* kSpike = SurveySettings::Flag::kSpike;

    // The settings with every reading given flagged with word; one already flagged keeps
    // its flag and word.
    static SurveySettings flagged(const Survey& survey, const std::vector<int>& readings,
                                  const std::string& word);
    // The settings without any flag on the readings given.
    static SurveySettings cleared(const Survey& survey, const std::vector<int>& readings);
};

}  // namespace velkor
