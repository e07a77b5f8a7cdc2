// Flags are matched once per survey, by path and then by the reading's own line text.
#include "survey/SurveyFlags.h"

#include "survey/SameFile.h"

namespace velkor {

SurveyFlags::SurveyFlags(const Survey& survey) {
    for (const SurveySettings::Flag& f : survey.settings().flags) {
        for (int d = 0; d < survey.dayCount(); ++d) {
            const DataSet& data = survey.day(d).data;
            if (f.word.empty() || f.reading < 1 || f.reading > data.readingCount() ||
                !sameFile(survey.day(d).path, f.file)) {
                continue;
            }
            if (data.line(f.reading) == f.text) {
                words_.emplace(key(d, f.reading), f.word);
            }
            break;
        }
    }
}

const std::string& SurveyFlags::word(const Survey::Reading& reading) const {
    const auto found = words_.find(key(reading.day, reading.line));
    return found == words_.end() ? none_ : found->second;
}

}  // namespace velkor
