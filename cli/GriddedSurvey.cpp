// A survey gridded for velkor2tr-cli survey.
#include "cli/GriddedSurvey.h"

#include <atomic>
#include <ostream>
#include <utility>
#include <vector>

#include "cli/SurveyCommand.h"
#include "cli/SurveyEdit.h"
#include "cli/SurveyGriddingOptions.h"

namespace velkor {

int GriddedSurvey::make(const Asked& asked, const SurveyGriddingOptions& options, SurveyEdit& edit,
                        std::ostream& out, std::ostream& err) {
    survey = edit.open(asked.surveyPath);
    if (!survey) {
        return 1;
    }
    const std::vector<std::string> files =
        asked.parts.empty() ? std::vector<std::string>{asked.out} : asked.parts;
    if (const int status = edit.checkOut(files, asked.surveyPath, survey->settings());
        status != 0) {
        return status;
    }
    SurveyEdit::tellStale(*survey, err);
    std::string problem;
    const std::optional<SurveySettings::Gridding> given =
        options.applied(survey->settings().gridding, problem);
    if (!given) {
        return SurveyCommand::usageError(err, problem);
    }
    gridding = *given;
    if (!asked.grid) {
        return 0;
    }
    const std::atomic<bool> never{false};
    result = SurveyGridding::run(*survey, gridding.what, gridding.options(),
                                 asked.transformed ? 0.0 : gridding.interval.value_or(0.0), never);
    const GriddingReport& report = result.gridded.report;
    if (!report.error.empty()) {
        err << report.error << '\n';
        return 1;
    }
    for (const std::string& line : SurveyGridding::describe(result)) {
        out << line << '\n';
    }
    return 0;
}

int GriddedSurvey::transform(TransformedGridding::Asked asked, std::ostream& out,
                             std::ostream& err) {
    asked.interval = gridding.interval.value_or(0.0);
    std::string message;
    std::optional<TransformedGridding::Result> t =
        TransformedGridding::run(*survey, result, asked, message);
    if (!t) {
        err << message << '\n';
        return 1;
    }
    for (const std::string& line : t->report) {
        out << line << '\n';
    }
    result = std::move(t->gridding);
    return 0;
}

}  // namespace velkor
