// The rules every change of a survey follows, whoever makes it (the survey window, its
// settings dialog, the tool): a base source or a position track given twice is refused
// before anything is read; once the survey is open with the change, flags whose readings
// have changed are dropped with a warning naming them, the survey file is written, and a
// new base source whose dates never meet the survey's is named. (A day given twice is
// refused by the survey itself.)
#pragma once

#include <string>
#include <vector>

#include "survey/SurveySettings.h"

namespace velkor {

class Survey;

class SurveyEditor {
  public:
    // Why next cannot be taken as a change of before; empty when it can.
    static std::string refusal(const SurveySettings& before, const SurveySettings& next);

    struct Finished {
        bool written = false;
        std::string message;  // why the file was not written
        std::string dropped;  // the flags dropped, in words; empty when none
        // One line for each new base source that can correct no reading.
        std::vector<std::string> coverage;
    };
    // Ends a change the survey has been opened with: before is the survey as it was
    // (empty settings for a new survey).
    static Finished finish(Survey& survey, const std::string& path, const SurveySettings& before);
};

}  // namespace velkor
