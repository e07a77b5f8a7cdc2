// Flags are matched once per survey, by path and then by the reading's own line text.
#include "survey/SurveyFlags.h"

#include "survey/FlagMatch.h"

namespace velkor {

SurveyFlags::SurveyFlags(const Survey& survey) {
    const std::vector<SurveySettings::Flag>& flags = survey.settings().flags;
    const FlagMatch match(survey);
    for (std::size_t k = 0; k < flags.size(); ++k) {
        const std::optional<FlagMatch::Place>& place = match.places()[k];
        if (place && !flags[k].word.empty()) {
            words_.emplace(key(place->day, place->reading), flags[k].word);
        }
    }
}

const std::string& SurveyFlags::word(const Survey::Reading& reading) const {
    const auto found = words_.find(key(reading.day, reading.line));
    return found == words_.end() ? none_ : found->second;
}

}  // namespace velkor
