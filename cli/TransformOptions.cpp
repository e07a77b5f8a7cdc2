// The grid transform's options of velkor2tr-cli survey.
#include "cli/TransformOptions.h"

#include <CLI/CLI.hpp>
#include <cmath>

#include "cli/SurveyValues.h"
#include "transforms/GridTransform.h"

namespace velkor {
namespace {

using Kind = GridTransform::Kind;

// A number of degrees typed, within [low, high]; false when the text is not one.
bool readDegrees(const std::string& text, double low, double high, double& value) {
    const std::optional<double> v = SurveyValues::wholeNumber(text);
    if (!v || *v < low || *v > high) {
        return false;
    }
    value = *v;
    return true;
}

}  // namespace

void TransformOptions::declare(CLI::App& command, const std::string& kindOption) {
    const std::string what =
        "the transform: reduction to the pole, continuation, derivatives east, north and "
        "down, total horizontal gradient, analytic signal, tilt angle";
    CLI::Option* k =
        command
            .add_option(kindOption, kind,
                        kindOption == "--kind"
                            ? what
                            : what + " (the contours then at an interval in its unit)")
            ->check(CLI::IsMember({"rtp", "continue", "dx", "dy", "dz", "thg", "asig", "tilt"}))
            ->type_name("rtp|continue|dx|dy|dz|thg|asig|tilt");
    if (kindOption == "--kind") {
        k->required();
    }
    command
        .add_option("--height", height,
                    "continue: metres upwards; below 0 continues downwards, at most twice the "
                    "cell")
        ->type_name("M");
    command.add_option("--order", order, "dz: 1 the first vertical derivative, 2 the second")
        ->check(CLI::IsMember({"1", "2"}))
        ->type_name("1|2");
    CLI::Option* i = command
                         .add_option("--inclination", inclination,
                                     "rtp: the field's inclination, degrees down (default "
                                     "IGRF-14 at the survey's centre and middle date)")
                         ->type_name("DEG");
    CLI::Option* d = command
                         .add_option("--declination", declination,
                                     "rtp: the field's declination, degrees east of north")
                         ->type_name("DEG");
    i->needs(d);
    d->needs(i);
    CLI::Option* mi = command
                          .add_option("--magnetisation-inclination", magnetisationInclination,
                                      "rtp: the magnetisation's inclination (default the field's)")
                          ->type_name("DEG");
    CLI::Option* md = command
                          .add_option("--magnetisation-declination", magnetisationDeclination,
                                      "rtp: the magnetisation's declination")
                          ->type_name("DEG");
    mi->needs(md);
    md->needs(mi);
    command
        .add_option("--rtp-limit-inclination", limit,
                    "rtp: inclinations nearer the equator than this are taken at it in the "
                    "amplitude (default 20)")
        ->type_name("DEG");
}

std::optional<TransformedGridding::Asked> TransformOptions::applied(double interval,
                                                                    std::string& problem) const {
    TransformedGridding::Asked a;
    a.interval = interval;
    GridTransform::Parameters& p = a.parameters;
    p.kind = GridTransform::kindNamed(kind).value_or(Kind::Dz);
    const std::optional<double> h = SurveyValues::wholeNumber(height);
    if (p.kind == Kind::Continue && !h) {
        problem = "--height: a continuation needs the metres to continue by, upwards above 0";
    } else if (!height.empty() && p.kind != Kind::Continue) {
        problem = "--height is for a continuation (continue) only";
    } else if (!order.empty() && p.kind != Kind::Dz) {
        problem = "--order is for the vertical derivative (dz) only";
    } else if (p.kind != Kind::Rtp && !(inclination + magnetisationInclination + limit).empty()) {
        problem =
            "the directions and --rtp-limit-inclination are for a reduction to the pole "
            "(rtp) only";
    } else if (!inclination.empty() &&
               (!readDegrees(inclination, -90.0, 90.0, p.field.inclination) ||
                !readDegrees(declination, -360.0, 360.0, p.field.declination))) {
        problem = "--inclination, --declination: give degrees, the inclination from -90 to 90";
    } else if (!magnetisationInclination.empty()) {
        GridTransform::Direction m;
        if (!readDegrees(magnetisationInclination, -90.0, 90.0, m.inclination) ||
            !readDegrees(magnetisationDeclination, -360.0, 360.0, m.declination)) {
            problem =
                "--magnetisation-inclination, --magnetisation-declination: give degrees, the "
                "inclination from -90 to 90";
        }
        p.magnetisation = m;
    }
    if (problem.empty() && !limit.empty() &&
        !readDegrees(limit, 0.0, 90.0, p.rtpLimitInclination)) {
        problem = "--rtp-limit-inclination: give degrees from 0 to 90";
    }
    if (!problem.empty()) {
        return std::nullopt;
    }
    p.height = h.value_or(0.0);
    p.order = order == "2" ? 2 : 1;
    a.fieldGiven = !inclination.empty();
    return a;
}

}  // namespace velkor
