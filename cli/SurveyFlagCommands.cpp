// velkor2tr-cli survey despike and flag.
#include "cli/SurveyFlagCommands.h"

#include <CLI/CLI.hpp>
#include <cmath>
#include <filesystem>
#include <ostream>
#include <vector>

#include "cli/CommandList.h"
#include "cli/SurveyEdit.h"
#include "cli/SurveyValues.h"
#include "survey/FlagList.h"
#include "survey/SameFile.h"
#include "survey/Survey.h"
#include "text/QuotedText.h"
#include "text/TextFormat.h"

namespace velkor {
namespace {

std::string oddWindow(const std::string& text) {
    const std::optional<double> n = SurveyValues::wholeNumber(text);
    return n && *n >= 3 && *n <= 101 && std::fmod(*n, 2.0) == 1.0
               ? std::string()
               : std::string("give an odd number from 3 to 101");
}

// The day a typed file names: as typed (absolute, or from the current folder), from the
// survey file's folder, or by its name alone as despike lists it; the typed path made
// absolute when none of these is a day of the survey.
std::string dayFile(const Survey& survey, const std::string& surveyPath, const std::string& typed) {
    namespace fs = std::filesystem;
    std::vector<std::string> tries{SurveyValues::absolute(typed)};
    if (fs::path(typed).is_relative()) {
        tries.push_back(
            SurveyValues::absolute((fs::path(surveyPath).parent_path() / typed).string()));
    }
    for (const std::string& path : tries) {
        for (int d = 0; d < survey.dayCount(); ++d) {
            if (sameFile(survey.day(d).path, path)) {
                return survey.day(d).path;
            }
        }
    }
    std::vector<std::string> named;
    for (int d = 0; d < survey.dayCount(); ++d) {
        if (fs::path(survey.day(d).path).filename() == typed) {
            named.push_back(survey.day(d).path);
        }
    }
    return named.size() == 1 ? named[0] : tries[0];
}

std::string positiveThreshold(const std::string& text) {
    const std::optional<double> nt = SurveyValues::wholeNumber(text);
    return nt && *nt > 0.0 ? std::string() : std::string("give nT above 0");
}

}  // namespace

void SurveyFlagCommands::declare(CLI::App& app, CommandList& commands) {
    declareDespike(app, commands);
    declareFlag(app, commands);
}

void SurveyFlagCommands::declareDespike(CLI::App& app, CommandList& commands) {
    CLI::App* despike = addCommand(
        app, "despike", "list the spike candidates along the survey lines; --apply flags them",
        despike_.survey);
    despike
        ->add_option("--window", despike_.window,
                     "readings in the running median, the one looked at among them (default 5)")
        ->check(CLI::Validator(oddWindow, "", ""))
        ->type_name("N");
    despike
        ->add_option("--threshold", despike_.threshold,
                     "nT from the median (default: 5 times the line's noise, at least 2)")
        ->check(CLI::Validator(positiveThreshold, "", ""))
        ->type_name("NT");
    despike->add_flag("--apply", despike_.apply, "flag every candidate with the word spike");
    commands.add(despike, [this] { return this->despike(despike_); });
}

void SurveyFlagCommands::declareFlag(CLI::App& app, CommandList& commands) {
    CLI::App* flag = addCommand(app, "flag", "flag a reading, or clear its flag", flag_.survey);
    flag->add_option("FILE", flag_.file, "the day's data file, as despike lists it or by its path")
        ->required()
        ->type_name("");
    flag->add_option("READING", flag_.reading, "the reading's number, as the list numbers it")
        ->required()
        ->type_name("");
    flag->add_flag("--clear", flag_.clear, "take the flag away");
    flag->add_option("--word", flag_.word, "the flag's word (default manual)")->type_name("WORD");
    commands.add(flag, [this] { return this->flag(flag_); });
}

int SurveyFlagCommands::despike(const DespikeOptions& o) {
    std::optional<SurveySettings> next = edit_.read(o.survey);
    std::optional<Survey> survey = edit_.open(next);
    if (!survey) {
        return 1;
    }
    SurveyEdit::tellStale(*survey, err_);
    SpikeFinder::Options options;
    options.window = o.window;
    options.threshold = o.threshold;
    const std::vector<SpikeFinder::Candidate> candidates =
        SpikeFinder::find(SpikeFinder::readingsOf(*survey), options);
    out_ << "file,reading,line,position,value,median,reason\n";
    for (const SpikeFinder::Candidate& c : candidates) {
        const Survey::Reading g = survey->reading(c.index);
        out_ << formatText(
            "%s,%d,%g,%g,%.2f,%.2f,%s\n",
            std::filesystem::path(survey->day(g.day).path).filename().string().c_str(), g.line,
            c.line, c.position, c.value, c.median, SpikeFinder::name(c.reason));
        if (o.apply) {
            FlagList::set(*next, *survey, c.index, SurveySettings::Flag::kSpike);
        }
    }
    if (!o.apply) {
        return 0;
    }
    out_ << candidates.size() << " readings flagged as spike\n";
    return edit_.save(o.survey, *next, &survey);
}

int SurveyFlagCommands::flag(const FlagOptions& o) {
    std::optional<SurveySettings> next = edit_.read(o.survey);
    std::optional<Survey> survey = edit_.open(next);
    if (!survey) {
        return 1;
    }
    const std::string file = dayFile(*survey, o.survey, o.file);
    std::string message;
    if (o.clear) {
        FlagList::follow(*next, *survey);
        if (!FlagList::clear(*next, file, o.reading)) {
            err_ << QuotedText::of(o.file) << ": reading " << o.reading << " has no flag.\n";
            return 1;
        }
    } else if (!FlagList::set(*next, *survey, file, o.reading, o.word, message)) {
        err_ << message << '\n';
        return 1;
    }
    return edit_.save(o.survey, *next, &survey);
}

}  // namespace velkor
