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
    static constexpr const char* kManual = "manual";
    static constexpr const char* kSpike = "spike";

    // The flag that marks survey reading r with word: its day's path, its reading number
    // and its line text.
    static SurveySettings::Flag flagOf(const Survey& survey, int r, const std::string& word);
    // The settings with every reading given flagged with word; one already flagged keeps
    // its flag and word.
    static SurveySettings flagged(const Survey& survey, const std::vector<int>& readings,
                                  const std::string& word);
    // The settings without any flag on the readings given.
    static SurveySettings cleared(const Survey& survey, const std::vector<int>& readings);
};

}  // namespace velkor
