// The survey's flags found among its readings. A flag keeps the line text of its reading:
// it holds at its reading number while that line is still its text, and when a day edited
// since has moved the number, at the reading of its file with that text (the nearest to
// its number when the text repeats). A flag whose text is gone from its file is stale.
#pragma once

#include <optional>
#include <vector>

#include "survey/SurveySettings.h"

namespace velkor {

class Survey;

class FlagMatch {
  public:
    struct Place {
        int day;
        int reading;  // its data line number now
    };

    // Matches the flags of settings (by default the survey's own) among survey's days.
    explicit FlagMatch(const Survey& survey);
    FlagMatch(const SurveySettings& settings, const Survey& survey);

    // One for each flag of the settings, in their order; nothing for a stale flag.
    const std::vector<std::optional<Place>>& places() const { return places_; }

  private:
    std::vector<std::optional<Place>> places_;
};

}  // namespace velkor
