// velkor2tr-cli survey level.
#include "cli/SurveyLevelCommand.h"

#include <CLI/CLI.hpp>
#include <ostream>

#include "cli/CommandList.h"
#include "cli/SurveyCommand.h"
#include "cli/SurveyEdit.h"
#include "cli/SurveyValues.h"
#include "survey/LevellingDescription.h"
#include "survey/SameFile.h"
#include "text/QuotedText.h"

namespace velkor {

void SurveyLevelCommand::declare(CLI::App& app, CommandList& commands) {
    CLI::App* level = addCommand(app, "level",
                                 "level the survey: offsets between days, directions and lines, "
                                 "and the stagger along lines",
                                 options_.survey);
    Options& o = options_;
    level->add_flag("--days", o.days, "tie the days by readings repeated at the same place");
    level->add_option("--fix-day", o.fixDay, "the day held at 0 (default: the days' mean is 0)")
        ->type_name("FILE");
    level->add_flag("--directions", o.directions,
                    "take away the offset between lines walked one way and the other");
    level->add_flag("--lines", o.lines,
                    "zero-median traverse: bring each line's median to the survey's");
    level
        ->add_option("--threshold", o.threshold,
                     "nT from a line's median beyond which --lines leaves a reading out "
                     "(default 3)")
        ->type_name("NT");
    level
        ->add_option("--destagger", o.destagger,
                     "move alternate lines along by half the stagger each way: estimated, "
                     "given in metres, or none")
        ->type_name("auto|M|none");
    level->add_flag("--clear", o.clear, "level no more");
    commands.add(level, [this] { return this->level(options_); });
}

int SurveyLevelCommand::level(const Options& o) {
    std::optional<SurveySettings> next = edit_.read(o.survey);
    if (!next) {
        return 1;
    }
    const bool chosen = o.clear || o.days || !o.fixDay.empty() || o.directions || o.lines ||
                        o.threshold || !o.destagger.empty();
    std::string problem;
    if (chosen) {
        choose(o, *next, problem);
    }
    if (!problem.empty()) {
        return SurveyCommand::usageError(err_, problem);
    }
    std::optional<Survey> survey = edit_.open(next);
    if (!survey) {
        return 1;
    }
    if (chosen) {
        if (const std::string refused = refusal(*survey); !refused.empty()) {
            err_ << refused << '\n';
            return 1;
        }
        if (const int status = edit_.save(o.survey, *next, &survey); status != 0) {
            return status;
        }
    }
    const auto lines = LevellingDescription::lines(*survey, true);
    if (lines.empty()) {
        out_ << "Levelling: none\n";
    }
    for (const std::string& line : lines) {
        out_ << line << '\n';
    }
    return 0;
}

void SurveyLevelCommand::choose(const Options& o, SurveySettings& next, std::string& problem) {
    using D = SurveySettings::Levelling::Destagger;
    SurveySettings::Levelling l;
    if (o.clear) {
        if (o.days || !o.fixDay.empty() || o.directions || o.lines || o.threshold ||
            !o.destagger.empty()) {
            problem = "--clear takes no other option";
        }
        next.levelling = l;
        return;
    }
    l.days = o.days || !o.fixDay.empty();
    if (!o.fixDay.empty()) {
        // Kept as the survey names the day, however it was typed.
        for (const std::string& d : next.days) {
            if (l.fixDay.empty() && sameFile(d, o.fixDay)) {
                l.fixDay = d;
            }
        }
        if (l.fixDay.empty()) {
            problem = "--fix-day: " + QuotedText::of(o.fixDay) + " is not a day of the survey";
            return;
        }
    }
    l.directions = o.directions;
    l.lines = o.lines;
    if (o.threshold) {
        if (!(*o.threshold > 0.0)) {
            problem = "--threshold: give nT above 0";
            return;
        }
        l.threshold = *o.threshold;
    }
    if (o.destagger == "auto") {
        l.destagger = D::Auto;
    } else if (!o.destagger.empty() && o.destagger != "none") {
        const std::optional<double> m = SurveyValues::wholeNumber(o.destagger);
        if (!m) {
            problem = "--destagger: give auto, none or the stagger in metres";
            return;
        }
        l.destagger = D::Given;
        l.stagger = *m;
    }
    next.levelling = l;
}

std::string SurveyLevelCommand::refusal(const Survey& survey) {
    const SurveySettings::Levelling& l = survey.settings().levelling;
    const SurveyLevelling::Report& r = survey.levelling();
    if (l.days && !r.dayOffsets.empty() && r.untiedDays.size() == r.dayOffsets.size()) {
        return "--days: no reading of one day lies at the line and position of another's: no "
               "ties for " +
               LevellingDescription::untiedDays(survey) + ". Nothing was saved.";
    }
    if (l.destagger != SurveySettings::Levelling::Destagger::None && !r.stagger) {
        return std::string("--destagger: ") + LevellingDescription::kOneWay +
               ". Nothing was saved.";
    }
    if (l.directions && !r.direction) {
        return std::string("--directions: ") + LevellingDescription::kOneWay +
               ". Nothing was saved.";
    }
    return {};
}

}  // namespace velkor
