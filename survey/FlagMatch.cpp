// Flags matched by file, then by their reading's line text; a day's texts are indexed
// only when a flag of it has moved.
#include "survey/FlagMatch.h"

#include <cstdlib>
#include <string_view>
#include <unordered_map>

#include "survey/SameFile.h"
#include "survey/Survey.h"

namespace velkor {
namespace {

using TextIndex = std::unordered_map<std::string_view, std::vector<int>>;

int dayOf(const Survey& survey, const std::string& file) {
    for (int d = 0; d < survey.dayCount(); ++d) {
        if (sameFile(survey.day(d).path, file)) {
            return d;
        }
    }
    return -1;
}

TextIndex indexOf(const DataSet& data) {
    TextIndex index;
    for (int k = 1; k <= data.readingCount(); ++k) {
        index[data.line(k)].push_back(k);
    }
    return index;
}

}  // namespace

FlagMatch::FlagMatch(const Survey& survey) : FlagMatch(survey.settings(), survey) {}

FlagMatch::FlagMatch(const SurveySettings& settings, const Survey& survey) {
    std::unordered_map<int, TextIndex> indexes;
    for (const SurveySettings::Flag& f : settings.flags) {
        const int d = dayOf(survey, f.file);
        std::optional<Place> place;
        if (d >= 0) {
            const DataSet& data = survey.day(d).data;
            if (f.reading >= 1 && f.reading <= data.readingCount() &&
                data.line(f.reading) == f.text) {
                place = Place{d, f.reading};
            } else {
                auto at = indexes.find(d);
                if (at == indexes.end()) {
                    at = indexes.emplace(d, indexOf(data)).first;
                }
                const auto same = at->second.find(f.text);
                if (same != at->second.end()) {
                    int best = same->second.front();
                    for (const int k : same->second) {
                        best = std::abs(k - f.reading) < std::abs(best - f.reading) ? k : best;
                    }
                    place = Place{d, best};
                }
            }
        }
        places_.push_back(place);
    }
}

}  // namespace velkor
