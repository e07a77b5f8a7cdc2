// The gridding options of velkor2tr-cli survey.
#include "cli/SurveyGriddingOptions.h"

#include <CLI/CLI.hpp>

#include "cli/SurveyValues.h"

namespace velkor {

void SurveyGriddingOptions::declare(CLI::App& command, bool contoured) {
    command
        .add_option("--what", what,
                    "the value gridded (default: the survey's; anomaly in a new survey)")
        ->check(CLI::IsMember({"anomaly", "diurnal", "field", "gradient"}))
        ->type_name("anomaly|diurnal|field|gradient");
    command
        .add_option("--cell", cell,
                    "metres between nodes (default: half the smaller of the reading spacing "
                    "along lines and the line spacing)")
        ->type_name("M|default");
    command.add_option("--tension", tension, "0 (minimum curvature) to 1 (default 0.25)")
        ->type_name("T|default");
    command
        .add_option("--blank", blank,
                    "nodes farther than this from every reading have no value; none blanks "
                    "nothing (default 2.5 line spacings)")
        ->type_name("M|none|default");
    if (contoured) {
        command
            .add_option("--interval", interval,
                        "nT between contour levels (default: about 20 levels over the values)")
            ->type_name("NT|default");
    }
}

std::optional<SurveySettings::Gridding> SurveyGriddingOptions::applied(
    SurveySettings::Gridding gridding, std::string& problem) const {
    if (!what.empty()) {
        gridding.what = *SurveySettings::Gridding::named(what);
    }
    if (!SurveyValues::readGiven(cell, false, gridding.cell)) {
        problem = "--cell: give metres above 0, or default";
    } else if (!SurveyValues::readGiven(blank, true, gridding.blankDistance)) {
        problem = "--blank: give metres above 0, none, or default";
    } else if (!SurveyValues::readGiven(interval, false, gridding.interval)) {
        problem = "--interval: give nT above 0, or default";
    } else if (tension == "default") {
        gridding.tension = GriddingOptions::kDefaultTension;
    } else if (!tension.empty()) {
        const std::optional<double> t = SurveyValues::wholeNumber(tension);
        if (!t || *t < 0.0 || *t > 1.0) {
            problem = "--tension: give a number from 0 to 1, or default";
        } else {
            gridding.tension = *t;
        }
    }
    if (!problem.empty()) {
        return std::nullopt;
    }
    return gridding;
}

}  // namespace velkor
