// Flags added and cleared.
#include "survey/FlagEdit.h"

#include "survey/FlagList.h"
#include "survey/Survey.h"
#include "survey/SurveyFlags.h"

namespace velkor {

SurveySettings FlagEdit::flagged(const Survey& survey, const std::vector<int>& readings,
                                 const std::string& word) {
    SurveySettings next = survey.settings();
    const SurveyFlags flags(survey);
    for (const int r : readings) {
        if (!flags.flagged(survey.readingWithoutLatLon(r))) {
            FlagList::set(next, survey, r, word);
        }
    }
    return next;
}

SurveySettings FlagEdit::cleared(const Survey& survey, const std::vector<int>& readings) {
    SurveySettings next = survey.settings();
    FlagList::follow(next, survey);
    for (const int r : readings) {
        const Survey::Reading g = survey.reading(r);
        FlagList::clear(next, survey.day(g.day).path, g.line);
    }
    return next;
}

}  // namespace velkor
