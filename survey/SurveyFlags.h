// The survey's flags found again among its readings: a flag holds where its file has its
// line text (see FlagMatch).
#pragma once

#include <string>
#include <unordered_map>

#include "survey/Survey.h"

namespace velkor {

class SurveyFlags {
  public:
    explicit SurveyFlags(const Survey& survey);

    // The flag word of survey reading r; empty when it is not flagged.
    const std::string& word(const Survey::Reading& reading) const;
    bool flagged(const Survey::Reading& reading) const { return !word(reading).empty(); }

  private:
    static long long key(int day, int line) { return static_cast<long long>(day) << 32 | line; }

    std::unordered_map<long long, std::string> words_;
    std::string none_;
};

}  // namespace velkor
