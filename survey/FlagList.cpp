// Flags are keyed by file, reading number and line text, so that an edited or replaced
// day never moves a flag onto another reading.
#include "survey/FlagList.h"

#include <algorithm>

#include "survey/SameFile.h"
#include "survey/SourceText.h"
#include "text/QuotedText.h"

namespace velkor {
namespace {

int dayOf(const Survey& survey, const std::string& file) {
    for (int d = 0; d < survey.dayCount(); ++d) {
        if (sameFile(survey.day(d).path, file)) {
            return d;
        }
    }
    return -1;
}

void put(SurveySettings& settings, SurveySettings::Flag flag) {
    for (SurveySettings::Flag& f : settings.flags) {
        if (f.reading == flag.reading && sameFile(f.file, flag.file)) {
            f = std::move(flag);
            return;
        }
    }
    settings.flags.push_back(std::move(flag));
}

}  // namespace

bool FlagList::set(SurveySettings& settings, const Survey& survey, const std::string& file,
                   int reading, const std::string& word, std::string& message) {
    // A flag without a word would be told from no flag nowhere.
    if (word.find_first_not_of(' ') == std::string::npos) {
        message = "A flag needs a word, such as manual or spike.";
        return false;
    }
    const int d = dayOf(survey, file);
    if (d < 0) {
        message = QuotedText::of(file) + ": no day of the survey";
        return false;
    }
    const DataSet& data = survey.day(d).data;
    if (reading < 1 || reading > data.readingCount()) {
        message = SourceText::name(file) + ": no reading " + std::to_string(reading) + " (it has " +
                  std::to_string(data.readingCount()) + ")";
        return false;
    }
    put(settings, {survey.day(d).path, reading, std::string(data.line(reading)), word});
    return true;
}

void FlagList::set(SurveySettings& settings, const Survey& survey, int r, const std::string& word) {
    const Survey::Reading g = survey.reading(r);
    const Survey::Day& day = survey.day(g.day);
    put(settings, {day.path, g.line, std::string(day.data.line(g.line)), word});
}

bool FlagList::clear(SurveySettings& settings, const std::string& file, int reading) {
    const auto gone = std::remove_if(settings.flags.begin(), settings.flags.end(),
                                     [&](const SurveySettings::Flag& f) {
                                         return f.reading == reading && sameFile(f.file, file);
                                     });
    const bool had = gone != settings.flags.end();
    settings.flags.erase(gone, settings.flags.end());
    return had;
}

std::vector<SurveySettings::Flag> FlagList::stale(const SurveySettings& settings,
                                                  const Survey& survey) {
    std::vector<SurveySettings::Flag> out;
    for (const SurveySettings::Flag& f : settings.flags) {
        const int d = dayOf(survey, f.file);
        const bool holds = d >= 0 && f.reading >= 1 &&
                           f.reading <= survey.day(d).data.readingCount() &&
                           survey.day(d).data.line(f.reading) == f.text;
        if (!holds) {
            out.push_back(f);
        }
    }
    return out;
}

std::string FlagList::dropStale(SurveySettings& settings, const Survey& survey) {
    const std::vector<SurveySettings::Flag> dropped = stale(settings, survey);
    settings.flags.erase(std::remove_if(settings.flags.begin(), settings.flags.end(),
                                        [&](const SurveySettings::Flag& f) {
                                            return std::find(dropped.begin(), dropped.end(), f) !=
                                                   dropped.end();
                                        }),
                         settings.flags.end());
    return warning(dropped);
}

std::string FlagList::warning(const std::vector<SurveySettings::Flag>& dropped) {
    if (dropped.empty()) {
        return {};
    }
    std::string text = dropped.size() == 1 ? "1 flag dropped, its reading has changed: "
                                           : std::to_string(dropped.size()) +
                                                 " flags dropped, their readings have changed: ";
    for (std::size_t k = 0; k < dropped.size(); ++k) {
        text += (k > 0 ? ", " : "") + SourceText::name(dropped[k].file) + " reading " +
                std::to_string(dropped[k].reading) + " (" + dropped[k].word + ")";
    }
    return text;
}

}  // namespace velkor
