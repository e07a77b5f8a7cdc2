// The rules of a change of a survey.
#include "survey/SurveyEditor.h"

#include <algorithm>
#include <cmath>

#include "survey/BaseCoverage.h"
#include "survey/FlagList.h"
#include "survey/SameFile.h"
#include "survey/SourceText.h"
#include "survey/Survey.h"
#include "survey/SurveyFile.h"

namespace velkor {
namespace {

using Source = SurveySettings::BaseSource;

bool sameSource(const Source& a, const Source& b) {
    return a.format == b.format && a.offset == b.offset &&
           (a.format == Source::Format::Survey || sameFile(a.path, b.path));
}

long countOf(const std::vector<Source>& sources, std::size_t end, const Source& s) {
    return std::count_if(sources.begin(), sources.begin() + static_cast<long>(end),
                         [&](const Source& b) { return sameSource(b, s); });
}

bool sameTrack(const SurveySettings::Track& a, const SurveySettings::Track& b) {
    return a.format == b.format && sameFile(a.path, b.path);
}

long tracksLike(const std::vector<SurveySettings::Track>& tracks, std::size_t end,
                const SurveySettings::Track& t) {
    return std::count_if(tracks.begin(), tracks.begin() + static_cast<long>(end),
                         [&](const SurveySettings::Track& u) { return sameTrack(u, t); });
}

// The same walk twice, at whatever offset, can only be right once.
std::string trackRefusal(const SurveySettings& before, const SurveySettings& next) {
    const std::vector<SurveySettings::Track>& tracks = next.tracks;
    for (std::size_t j = 0; j < tracks.size(); ++j) {
        if (!(std::abs(tracks[j].offset) <= SurveyFile::kLargestWhole)) {
            return SourceText::name(tracks[j].path) +
                   ": the offset must be a number of seconds from -2147483647 to 2147483647.";
        }
        const long earlier = tracksLike(tracks, j, tracks[j]);
        if (earlier != 0 && tracksLike(before.tracks, before.tracks.size(), tracks[j]) <= earlier) {
            return SourceText::name(tracks[j].path) + " is a position track of the survey already.";
        }
    }
    return {};
}

}  // namespace

std::string SurveyEditor::refusal(const SurveySettings& before, const SurveySettings& next) {
    const std::vector<Source>& sources = next.baseSources;
    for (std::size_t j = 0; j < sources.size(); ++j) {
        const Source& s = sources[j];
        const long earlier = countOf(sources, j, s);
        // A repeat the survey had already is not this change's doing.
        if (earlier == 0 || countOf(before.baseSources, before.baseSources.size(), s) > earlier) {
            continue;
        }
        // The same source twice would only repeat it in every listing.
        return (s.format == Source::Format::Survey
                    ? std::string("The survey's base-station readings are")
                    : SourceText::name(s.path) + " at offset " + std::to_string(s.offset) +
                          " s is") +
               " a base source of the survey already.";
    }
    return trackRefusal(before, next);
}

SurveyEditor::Finished SurveyEditor::finish(Survey& survey, const std::string& path,
                                            const SurveySettings& before) {
    Finished f;
    // Flags whose readings a changed day no longer holds go, and the user hears which;
    // flags whose readings moved are kept at their numbers now.
    SurveySettings kept = survey.settings();
    f.dropped = FlagList::dropStale(kept, survey);
    if (kept != survey.settings()) {
        survey.change(kept, f.message);
    }
    f.written = survey.write(path, f.message);
    if (!f.written) {
        return f;
    }
    // A source that can never correct a reading is worth saying so at once.
    const std::vector<std::string> dates = BaseCoverage::dates(survey);
    const std::vector<Source>& sources = survey.settings().baseSources;
    for (std::size_t k = 0; k < sources.size() && k < survey.bases().size(); ++k) {
        if (countOf(before.baseSources, before.baseSources.size(), sources[k]) != 0) {
            continue;
        }
        const std::string problem = BaseCoverage::problem(survey.bases()[k], dates);
        if (!problem.empty()) {
            f.coverage.push_back(problem);
        }
    }
    return f;
}

}  // namespace velkor
