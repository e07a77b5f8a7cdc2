// Flags are keyed by file, reading number and line text, so that an edited or replaced
// day never moves a flag onto another reading, and a flag follows its own.
#include "survey/FlagList.h"

#include <algorithm>

#include "survey/FlagMatch.h"
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

// "day1.velkor reading 12 (spike), day1.velkor reading 40 (manual)"
std::string named(const std::vector<SurveySettings::Flag>& flags) {
    std::string text;
    for (std::size_t k = 0; k < flags.size(); ++k) {
        text += (k > 0 ? ", " : "") + SourceText::name(flags[k].file) + " reading " +
                std::to_string(flags[k].reading) + " (" + flags[k].word + ")";
    }
    return text;
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
    follow(settings, survey);
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
    follow(settings, survey);
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

void FlagList::follow(SurveySettings& settings, const Survey& survey) {
    const FlagMatch match(settings, survey);
    for (std::size_t k = 0; k < settings.flags.size(); ++k) {
        if (const std::optional<FlagMatch::Place>& p = match.places()[k]) {
            settings.flags[k].reading = p->reading;
        }
    }
}

std::vector<SurveySettings::Flag> FlagList::stale(const SurveySettings& settings,
                                                  const Survey& survey) {
    const FlagMatch match(settings, survey);
    std::vector<SurveySettings::Flag> out;
    for (std::size_t k = 0; k < settings.flags.size(); ++k) {
        if (!match.places()[k]) {
            out.push_back(settings.flags[k]);
        }
    }
    return out;
}

std::string FlagList::dropStale(SurveySettings& settings, const Survey& survey) {
    const std::vector<SurveySettings::Flag> dropped = stale(settings, survey);
    follow(settings, survey);
    settings.flags.erase(std::remove_if(settings.flags.begin(), settings.flags.end(),
                                        [&](const SurveySettings::Flag& f) {
                                            return std::find(dropped.begin(), dropped.end(), f) !=
                                                   dropped.end();
                                        }),
                         settings.flags.end());
    return warning(dropped);
}

std::string FlagList::staleNote(const Survey& survey) {
    const std::vector<SurveySettings::Flag> gone = stale(survey.settings(), survey);
    if (gone.empty()) {
        return {};
    }
    std::string text = gone.size() == 1
                           ? "1 flag matches no reading, its line is gone from its file: "
                           : std::to_string(gone.size()) +
                                 " flags match no reading, their lines are gone from their files: ";
    return text + named(gone);
}

std::string FlagList::warning(const std::vector<SurveySettings::Flag>& dropped) {
    if (dropped.empty()) {
        return {};
    }
    std::string text = dropped.size() == 1 ? "1 flag dropped, its reading has changed: "
                                           : std::to_string(dropped.size()) +
                                                 " flags dropped, their readings have changed: ";
    return text + named(dropped);
}

}  // namespace velkor
