// Flags added and cleared.
#include "views/FlagEdit.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "survey/Survey.h"
#include "survey/SurveyFlags.h"

namespace velkor {
namespace {

namespace fs = std::filesystem;

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return fs::path(a).lexically_normal() == fs::path(b).lexically_normal() ||
           fs::equivalent(a, b, error);
}

// Drops every flag on this reading, also one whose line text no longer matches: the flag
// written in its place is the one that holds.
void drop(std::vector<SurveySettings::Flag>& flags, const SurveySettings::Flag& on) {
    flags.erase(std::remove_if(flags.begin(), flags.end(),
                               [&on](const SurveySettings::Flag& f) {
                                   return f.reading == on.reading && sameFile(f.file, on.file);
                               }),
                flags.end());
}

}  // namespace

SurveySettings::Flag FlagEdit::flagOf(const Survey& survey, int r, const std::string& word) {
    const Survey::Reading g = survey.reading(r);
    const Survey::Day& day = survey.day(g.day);
    return {day.path, g.line, std::string(day.data.line(g.line)), word};
}

SurveySettings FlagEdit::flagged(const Survey& survey, const std::vector<int>& readings,
                                 const std::string& word) {
    SurveySettings next = survey.settings();
    const SurveyFlags flags(survey);
    for (const int r : readings) {
        if (flags.flagged(survey.reading(r))) {
            continue;
        }
        SurveySettings::Flag flag = flagOf(survey, r, word);
        drop(next.flags, flag);
        next.flags.push_back(std::move(flag));
    }
    return next;
}

SurveySettings FlagEdit::cleared(const Survey& survey, const std::vector<int>& readings) {
    SurveySettings next = survey.settings();
    for (const int r : readings) {
        drop(next.flags, flagOf(survey, r, {}));
    }
    return next;
}

}  // namespace velkor
