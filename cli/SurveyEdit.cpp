// The survey file read, opened and saved for velkor2tr-cli survey.
#include "cli/SurveyEdit.h"

#include <ostream>
#include <vector>

#include "cli/SurveyCommand.h"
#include "survey/FlagList.h"
#include "survey/OutputParts.h"
#include "survey/SurveyEditor.h"
#include "survey/SurveyFile.h"
#include "text/QuotedText.h"

namespace velkor {

SurveyEdit::SurveyEdit(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

std::optional<SurveySettings> SurveyEdit::read(const std::string& path) {
    held_.emplace(path);
    std::string message;
    std::optional<SurveySettings> settings = SurveyFile::read(path, message);
    if (!settings) {
        err_ << message << '\n';
    }
    return settings;
}

std::optional<Survey> SurveyEdit::open(const std::string& path) {
    std::string message;
    std::optional<Survey> survey = Survey::read(path, message);
    if (!survey) {
        err_ << message << '\n';
    }
    return survey;
}

std::optional<Survey> SurveyEdit::open(const std::optional<SurveySettings>& settings) {
    std::string message;
    std::optional<Survey> survey = settings ? Survey::open(*settings, message) : std::nullopt;
    if (settings && !survey) {
        err_ << message << '\n';
    }
    return survey;
}

int SurveyEdit::save(const std::string& path, const SurveySettings& next,
                     std::optional<Survey>* saved) {
    std::string message;
    // The survey as the file holds it now: what the change is a change of.
    const SurveySettings before = SurveyFile::read(path, message).value_or(SurveySettings{});
    message = SurveyEditor::refusal(before, next);
    // The days read once in a command: a survey open already takes the change.
    const bool given = saved != nullptr && saved->has_value();
    std::optional<Survey> fresh;
    Survey* opened = nullptr;
    if (message.empty() && !given) {
        fresh = Survey::open(next, message);
        opened = fresh ? &*fresh : nullptr;
    } else if (message.empty() &&
               ((*saved)->settings() == next || (*saved)->change(next, message))) {
        opened = &**saved;
    }
    SurveyEditor::Finished f;
    if (opened != nullptr) {
        f = SurveyEditor::finish(*opened, path, before);
        message = f.message;
    }
    if (!f.dropped.empty()) {
        err_ << f.dropped << '\n';
    }
    if (!f.written) {
        err_ << message << "\nThe survey file was not changed.\n";
        return 1;
    }
    tell(path, *opened);
    for (const std::string& line : f.coverage) {
        err_ << line << '\n';
    }
    if (saved != nullptr && !given) {
        *saved = std::move(fresh);
    }
    return 0;
}

int SurveyEdit::checkOut(const std::string& out, const std::string& surveyPath,
                         const SurveySettings& settings) {
    return checkOut(std::vector<std::string>{out}, surveyPath, settings);
}

int SurveyEdit::checkOut(const std::vector<std::string>& files, const std::string& surveyPath,
                         const SurveySettings& settings) {
    const std::string owned = OutputParts::ownedBy(settings, files, surveyPath);
    return owned.empty() ? 0
                         : SurveyCommand::usageError(err_, SurveySettings::ownFileMessage(owned));
}

void SurveyEdit::tellStale(const Survey& survey, std::ostream& err) {
    const std::string note = FlagList::staleNote(survey);
    if (!note.empty()) {
        err << note << '\n';
    }
}

void SurveyEdit::tell(const std::string& path, const Survey& survey) {
    const Survey::Summary t = survey.total();
    out_ << QuotedText::of(path) << ": days " << survey.dayCount() << ", readings " << t.readings
         << " (merged " << t.merged << ", left out " << t.leftOut << "), base sources "
         << survey.bases().size() << '\n';
    if (!survey.normalProblem().empty()) {
        out_ << survey.normalProblem() << '\n';
    }
}

}  // namespace velkor
