// velkor2tr-cli survey new, add, base, place and set.
#include "cli/SurveyBuildCommands.h"

#include <fcntl.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cmath>
#include <ostream>

#include "cli/CommandList.h"
#include "cli/SurveyCommand.h"
#include "cli/SurveyEdit.h"
#include "cli/SurveyValues.h"
#include "survey/BaseSource.h"
#include "survey/SurveyDescription.h"
#include "survey/SurveyFile.h"
#include "survey/SurveyLagEstimate.h"
#include "survey/TrackSource.h"
#include "text/QuotedText.h"
#include "text/TextFormat.h"

namespace velkor {
namespace {

Placement::Side sideOf(const std::string& text) {
    return text == "right" ? Placement::Side::Right : Placement::Side::Left;
}

// An offset the survey file cannot hold is refused here rather than saved unreadable;
// anything that is no whole number is left to the option's own reading.
std::string fileOffset(const std::string& text) {
    const std::optional<double> seconds = SurveyValues::wholeNumber(text);
    const double largest = SurveyFile::kLargestWhole;
    return seconds && std::abs(*seconds) > largest
               ? "give whole seconds from -" + std::to_string(SurveyFile::kLargestWhole) + " to " +
                     std::to_string(SurveyFile::kLargestWhole)
               : std::string();
}

// The pairs compared at the estimate's lag.
int pairsAt(const LagEstimate::Result& r) {
    for (const LagEstimate::Point& p : r.curve) {
        if (p.lag == r.lag) {
            return p.pairs;
        }
    }
    return 0;
}

}  // namespace

void SurveyBuildCommands::declare(CLI::App& app, CommandList& commands) {
    declareNew(app, commands);
    declareAdd(app, commands);
    declareBase(app, commands);
    declareTrack(app, commands);
    declarePlace(app, commands);
    declareSet(app, commands);
}

void SurveyBuildCommands::declareNew(CLI::App& app, CommandList& commands) {
    CLI::App* create = addCommand(app, "new", "make a new survey file with no day", new_.survey);
    create
        ->add_option("--crs", new_.crs,
                     "its coordinate system: a projected one in metres (default: none, local "
                     "metres)")
        ->type_name("EPSG:CODE");
    commands.add(create, [this] { return this->create(new_); });
}

void SurveyBuildCommands::declareAdd(CLI::App& app, CommandList& commands) {
    CLI::App* add = addCommand(app, "add", "add data files to the survey as its days", add_.survey);
    add->add_option("DATAFILE", add_.files, "data files, each read as it is, never written")
        ->type_name("")
        ->required();
    commands.add(add, [this] { return this->add(add_); });
}

void SurveyBuildCommands::declareBase(CLI::App& app, CommandList& commands) {
    CLI::App* base = addCommand(app, "base",
                                "add a base source: a variations, IAGA-2002 or CSV file, or the "
                                "survey's own base-station readings",
                                base_.survey);
    base->add_option("FILE", base_.file,
                     "the base-station file: a variations file, an IAGA-2002 or a CSV file "
                     "(none with --format survey)")
        ->type_name("");
    base->add_option("--offset", base_.offset, "seconds added to its times (default 0)")
        ->check(CLI::Validator(fileOffset, "", ""))
        ->type_name("SECONDS");
    base->add_option("--format", base_.format,
                     "a variations file, an observatory's IAGA-2002 file, a CSV file (default "
                     "auto: told by the file's content), or survey: the survey's own "
                     "base-station readings")
        ->check(CLI::IsMember({"velkor", "iaga2002", "csv", "auto", "survey"}))
        ->type_name("velkor|iaga2002|csv|auto|survey");
    base->add_option("--columns", base_.columns,
                     "for CSV, the columns to take (default: chosen by their names)")
        ->type_name("DATE,TIME,VALUE|DATETIME,VALUE");
    commands.add(base, [this] { return this->base(base_); });
}

void SurveyBuildCommands::declareTrack(CLI::App& app, CommandList& commands) {
    CLI::App* track =
        addCommand(app, "track",
                   "add a position track: a GNSS receiver's GPX file or NMEA log, or a CSV file "
                   "of times and positions",
                   track_.survey);
    track->add_option("FILE", track_.file, "the track, read as it is, never written")
        ->type_name("")
        ->required();
    track
        ->add_option("--format", track_.format,
                     "a GPX file, an NMEA 0183 log or a CSV file (default auto: told by the "
                     "file's content)")
        ->check(CLI::IsMember({"gpx", "nmea", "csv", "auto"}))
        ->type_name("gpx|nmea|csv|auto");
    track
        ->add_option("--offset", track_.offset,
                     "seconds added to its times to bring them to the instrument's clock "
                     "(default 0)")
        ->type_name("SECONDS");
    track
        ->add_option("--columns", track_.columns,
                     "for CSV, the columns to take: latitude and longitude (WGS 84), or easting "
                     "and northing in the survey's coordinate system (default: chosen by their "
                     "names)")
        ->type_name("DATE,TIME,A,B|DATETIME,A,B");
    commands.add(track, [this] { return this->track(track_); });
}

void SurveyBuildCommands::declareByTrack(CLI::App& place, PlaceOptions& o) {
    place.add_flag("--by-track", o.byTrack,
                   "place each reading where the survey's tracks were at its time");
    place
        .add_option("--antenna-offset", o.antennaOffset,
                    "metres from the antenna to the sensor, ahead and to the right (default 0)")
        ->type_name("ALONG[,ACROSS]");
    place
        .add_option("--lag", o.lag,
                    "seconds the readings' times run behind (default 0), or auto: estimated "
                    "from lines walked both ways")
        ->type_name("SECONDS|auto");
    place
        .add_option("--max-gap", o.maxGap,
                    "seconds between fixes beyond which a reading is not placed (default 5)")
        ->type_name("SECONDS");
}

void SurveyBuildCommands::declarePlace(CLI::App& app, CommandList& commands) {
    CLI::App* place = addCommand(app, "place",
                                 "place the readings: by origin, azimuth and spacing, by control "
                                 "points, or by position track",
                                 place_.survey);
    PlaceOptions& o = place_;
    CLI::Option* origin =
        place->add_option("--origin", o.origin, "where line and position of the first reading lie")
            ->type_name("E,N");
    CLI::Option* azimuth =
        place->add_option("--azimuth", o.azimuth, "of increasing positions, degrees from north")
            ->type_name("DEG");
    CLI::Option* spacing =
        place->add_option("--line-spacing", o.lineSpacing, "metres between lines (default 1)")
            ->type_name("M");
    CLI::Option* interval = place
                                ->add_option("--station-interval", o.stationInterval,
                                             "metres between positions (default 1)")
                                ->type_name("M");
    CLI::Option* firstLine =
        place->add_option("--first-line", o.firstLine, "the line at the origin (default 0)")
            ->type_name("L");
    CLI::Option* firstPosition = place
                                     ->add_option("--first-position", o.firstPosition,
                                                  "the position at the origin (default 0)")
                                     ->type_name("P");
    place
        ->add_option("--lines-to", o.linesTo,
                     "where increasing lines lie, looking along the positions (default left)")
        ->check(CLI::IsMember({"right", "left"}))
        ->type_name("right|left");
    CLI::Option* control =
        place
            ->add_option("--control", o.controls,
                         "a reading place and its coordinates; two or more fit the placement")
            ->type_name("LINE,POS,E,N")
            ->allow_extra_args(false);
    // The parameters leave nothing to a default that would place a survey silently wrong.
    origin->needs(azimuth)->needs(spacing)->needs(interval);
    control->excludes(origin)->excludes(azimuth)->excludes(firstLine)->excludes(firstPosition);
    declareByTrack(*place, o);
    commands.add(place, [this] { return this->place(place_); });
}

void SurveyBuildCommands::declareSet(CLI::App& app, CommandList& commands) {
    CLI::App* set =
        addCommand(app, "set",
                   "change the corrections, the coordinate system and how the readings are gridded",
                   set_.survey);
    set->add_option("--datum", set_.datum, "nT added to every diurnal value (field - base + datum)")
        ->type_name("NT");
    set->add_option("--normal", set_.normal,
                    "the normal field taken away: none, a constant in nT, or IGRF-14 at each "
                    "reading")
        ->type_name("none|NT|igrf");
    set->add_option("--height", set_.height, "metres above the ellipsoid for IGRF-14 (default 0)")
        ->type_name("M");
    set->add_option("--crs", set_.crs,
                    "the coordinate system, none, or utm: the WGS 84 UTM zone of the tracks")
        ->type_name("EPSG:CODE|utm|none");
    set_.gridding.declare(*set, true);
    set->add_option("--regional", set_.regional,
                    "the regional trend fitted to the readings and taken away before gridding")
        ->check(CLI::IsMember({"none", "plane", "quadratic"}))
        ->type_name("none|plane|quadratic");
    commands.add(set, [this] { return this->set(set_); });
}

int SurveyBuildCommands::create(const NewOptions& o) {
    SurveySettings next;
    if (!o.crs.empty() && (o.crs == "none" || !SurveyValues::readCrs(o.crs, next.epsg))) {
        return SurveyCommand::usageError(
            err_, "--crs: give EPSG: and the code of a projected coordinate system");
    }
    // The name is claimed before anything is written, and only when nothing is there, not
    // even a link: a new survey never replaces a file, directly or through a link.
    const int claimed = ::open(o.survey.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (claimed < 0 && errno == EEXIST) {
        err_ << QuotedText::of(o.survey) << ": a file of that name exists; nothing was written.\n";
        return 1;
    }
    if (claimed >= 0) {
        ::close(claimed);
    }
    const int status = edit_.save(o.survey, next);
    if (status != 0 && claimed >= 0) {
        ::unlink(o.survey.c_str());
    }
    return status;
}

int SurveyBuildCommands::add(const AddOptions& o) {
    std::optional<SurveySettings> next = edit_.read(o.survey);
    if (!next) {
        return 1;
    }
    for (const std::string& f : o.files) {
        next->days.push_back(SurveyValues::absolute(f));
    }
    return edit_.save(o.survey, *next);
}

int SurveyBuildCommands::base(const BaseOptions& o) {
    const auto format = *SurveySettings::BaseSource::named(o.format);
    const bool own = format == SurveySettings::BaseSource::Format::Survey;
    if (own == !o.file.empty()) {
        return SurveyCommand::usageError(
            err_, own ? "base: --format survey takes no FILE" : "base: give the FILE");
    }
    std::optional<SurveySettings> next = edit_.read(o.survey);
    if (!next) {
        return 1;
    }
    SurveySettings::BaseSource source(own ? std::string() : SurveyValues::absolute(o.file),
                                      o.offset, format, o.columns);
    if (source.format == SurveySettings::BaseSource::Format::Auto) {
        source.format = BaseSource::detect(source.path);
    }
    next->baseSources.push_back(source);
    return edit_.save(o.survey, *next);
}

int SurveyBuildCommands::track(const TrackOptions& o) {
    std::optional<SurveySettings> next = edit_.read(o.survey);
    if (!next) {
        return 1;
    }
    SurveySettings::Track t;
    t.path = SurveyValues::absolute(o.file);
    t.offset = o.offset;
    t.columns = o.columns;
    if (o.format == "auto") {
        const std::optional<TrackSource::Format> found = TrackSource::detect(t.path);
        if (!found) {
            err_ << QuotedText::of(t.path)
                 << ": neither a GPX file nor an NMEA log nor a CSV file of times and positions\n";
            return 1;
        }
        t.format = *found;
    } else {
        t.format = *SurveySettings::Track::named(o.format);
    }
    next->tracks.push_back(t);
    return edit_.save(o.survey, *next);
}

int SurveyBuildCommands::place(const PlaceOptions& o) {
    std::optional<SurveySettings> next = edit_.read(o.survey);
    if (!next) {
        return 1;
    }
    int status = 0;
    const std::optional<Placement> placed = placement(o, status);
    if (!placed) {
        return status;
    }
    next->placement = *placed;
    if (o.byTrack && o.lag == "auto" && !estimateLag(*next, next->placement)) {
        return 1;
    }
    for (const std::string& line : SurveyDescription::placement(next->placement)) {
        out_ << line << '\n';
    }
    if (const std::string warning = placed->fitWarning(); !warning.empty()) {
        err_ << warning << '\n';
    }
    return edit_.save(o.survey, *next);
}

std::optional<Placement> SurveyBuildCommands::placement(const PlaceOptions& o, int& status) {
    if (o.byTrack) {
        return trackPlacement(o, status);
    }
    std::string message;
    std::optional<Placement> placed;
    if (!o.controls.empty()) {
        std::vector<Placement::ControlPoint> points;
        for (const std::string& c : o.controls) {
            const std::optional<std::vector<double>> v = SurveyValues::numbers(c, 4);
            if (!v) {
                status = SurveyCommand::usageError(
                    err_, "--control: give LINE,POS,E,N, four numbers: " + c);
                return std::nullopt;
            }
            points.push_back({(*v)[0], (*v)[1], (*v)[2], (*v)[3]});
        }
        placed = Placement::byControlPoints(points, sideOf(o.linesTo), o.lineSpacing,
                                            o.stationInterval, message);
    } else {
        const std::optional<std::vector<double>> at = SurveyValues::numbers(o.origin, 2);
        if (!at) {
            status = SurveyCommand::usageError(
                err_, o.origin.empty() ? "place: give --origin E,N or --control points"
                                       : "--origin: give E,N, two numbers");
            return std::nullopt;
        }
        Placement::Parameters p;
        p.originEasting = (*at)[0];
        p.originNorthing = (*at)[1];
        p.azimuth = o.azimuth;
        p.lineSpacing = o.lineSpacing;
        p.stationInterval = o.stationInterval;
        p.firstLine = o.firstLine;
        p.firstPosition = o.firstPosition;
        p.side = sideOf(o.linesTo);
        placed = Placement::byParameters(p, message);
    }
    if (!placed) {
        err_ << message << '\n';
        status = 1;
    }
    return placed;
}

std::optional<Placement> SurveyBuildCommands::trackPlacement(const PlaceOptions& o, int& status) {
    if (!o.origin.empty() || !o.controls.empty()) {
        status = SurveyCommand::usageError(err_, "--by-track: give no --origin or --control");
        return std::nullopt;
    }
    Placement::Track t;
    if (!o.antennaOffset.empty()) {
        std::optional<std::vector<double>> v = SurveyValues::numbers(o.antennaOffset, 2);
        if (!v) {
            v = SurveyValues::numbers(o.antennaOffset, 1);
        }
        if (!v) {
            status = SurveyCommand::usageError(
                err_, "--antenna-offset: give ALONG or ALONG,ACROSS in metres");
            return std::nullopt;
        }
        t.along = (*v)[0];
        t.across = v->size() > 1 ? (*v)[1] : 0.0;
    }
    if (!o.lag.empty() && o.lag != "auto") {
        const std::optional<double> lag = SurveyValues::wholeNumber(o.lag);
        if (!lag) {
            status = SurveyCommand::usageError(err_, "--lag: give seconds or auto");
            return std::nullopt;
        }
        t.lag = *lag;
    }
    t.maxGap = o.maxGap;
    std::string message;
    std::optional<Placement> placed = Placement::byTrack(t, message);
    if (!placed) {
        err_ << message << '\n';
        status = 1;
    }
    return placed;
}

bool SurveyBuildCommands::estimateLag(const SurveySettings& next, Placement& placed) {
    std::optional<Survey> survey = edit_.open(next);
    if (!survey) {
        return false;
    }
    std::string message;
    const std::optional<LagEstimate::Result> found =
        SurveyLagEstimate::of(*survey, placed.track(), message);
    if (!found) {
        err_ << message << '\n';
        return false;
    }
    out_ << formatText(
        "Lag estimated: %g s, where the misfit is least: %.3g nT rms over %d pairs\n", found->lag,
        std::sqrt(found->misfit), pairsAt(*found));
    placed = *Placement::byTrack(SurveyLagEstimate::withLag(placed.track(), *found), message);
    return true;
}

bool SurveyBuildCommands::utmOfTracks(SurveySettings& next) {
    std::string message;
    const std::optional<int> code = TrackSource::utmZoneCode(next.tracks, message);
    if (!code) {
        err_ << message << '\n';
        return false;
    }
    next.epsg = *code;
    return true;
}

int SurveyBuildCommands::set(const SetOptions& o) {
    std::optional<SurveySettings> next = edit_.read(o.survey);
    if (!next) {
        return 1;
    }
    if (o.crs == "utm" && !utmOfTracks(*next)) {
        return 1;
    }
    std::string problem;
    setCorrections(o, *next, problem);
    if (problem.empty()) {
        const std::optional<SurveySettings::Gridding> gridding =
            o.gridding.applied(next->gridding, problem);
        if (gridding) {
            next->gridding = *gridding;
        }
        if (const auto regional = RegionalTrend::named(o.regional)) {
            next->gridding.regional = *regional;
        }
    }
    if (!problem.empty()) {
        return SurveyCommand::usageError(err_, problem);
    }
    return edit_.save(o.survey, *next);
}

void SurveyBuildCommands::setCorrections(const SetOptions& o, SurveySettings& next,
                                         std::string& problem) {
    if (!o.crs.empty() && o.crs != "utm" && !SurveyValues::readCrs(o.crs, next.epsg)) {
        problem = "--crs: give EPSG: and the code of a projected coordinate system, or none";
        return;
    }
    if (o.datum) {
        next.datum = *o.datum;
    }
    using Kind = SurveySettings::NormalField::Kind;
    if (o.normal == "none") {
        next.normal.kind = Kind::None;
    } else if (o.normal == "igrf") {
        next.normal.kind = Kind::Igrf;
    } else if (!o.normal.empty()) {
        const std::optional<double> v = SurveyValues::wholeNumber(o.normal);
        if (!v) {
            problem = "--normal: give none, igrf or a value in nT";
            return;
        }
        next.normal.kind = Kind::Constant;
        next.normal.value = *v;
    }
    if (o.height) {
        next.normal.height = *o.height;
    }
}

}  // namespace velkor
