// The survey commands of velkor2tr-cli.
#include "cli/SurveyCommand.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <limits>
#include <map>
#include <memory>
#include <ostream>
#include <vector>

#include "cli/CliTool.h"
#include "data/DataFile.h"
#include "data/TextFormat.h"
#include "pictures/LineProfilePages.h"
#include "pictures/LineProfilePainter.h"
#include "pictures/LineProfileSet.h"
#include "pictures/PictureWriter.h"
#include "pictures/SurveyPicture.h"
#include "survey/BaseCoverage.h"
#include "survey/BaseSource.h"
#include "survey/ContourFile.h"
#include "survey/FlagList.h"
#include "survey/GridFile.h"
#include "survey/Placement.h"
#include "survey/SameFile.h"
#include "survey/SourceText.h"
#include "survey/SpikeFinder.h"
#include "survey/Survey.h"
#include "survey/SurveyDescription.h"
#include "survey/SurveyExport.h"
#include "survey/SurveyFile.h"
#include "survey/SurveyGridding.h"
#include "survey/SurveySettings.h"

namespace velkor {
namespace fs = std::filesystem;

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

// The number the whole text is (blanks around it and a plus sign allowed), finite;
// nothing for any other text, "12abc" among them.
std::optional<double> wholeNumber(std::string text) {
    const std::size_t first = text.find_first_not_of(' ');
    const std::size_t last = text.find_last_not_of(' ');
    text = first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
    if (text.size() > 1 && text[0] == '+' && text[1] != '-') {
        text.erase(0, 1);
    }
    double v = 0.0;
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, v);
    if (text.empty() || error != std::errc() || at != end || !std::isfinite(v)) {
        return std::nullopt;
    }
    return v;
}

// "1,2.5,-3": exactly count numbers; nothing when the text is not that.
std::optional<std::vector<double>> numbers(const std::string& text, std::size_t count) {
    std::vector<double> values;
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t comma = std::min(text.find(',', from), text.size());
        const std::optional<double> v = wholeNumber(text.substr(from, comma - from));
        if (!v) {
            return std::nullopt;
        }
        values.push_back(*v);
        from = comma + 1;
    }
    if (values.size() != count) {
        return std::nullopt;
    }
    return values;
}

// "EPSG:32633" or "none"; false when it is neither.
bool readCrs(const std::string& text, std::optional<int>& epsg) {
    if (text == "none") {
        epsg.reset();
        return true;
    }
    const std::string prefix = "EPSG:";
    if (text.compare(0, prefix.size(), prefix) != 0 || text.size() == prefix.size() ||
        text.size() > prefix.size() + 9 ||
        !std::all_of(text.begin() + prefix.size(), text.end(),
                     [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    epsg = std::stoi(text.substr(prefix.size()));
    return true;
}

// The format --format names, else OUT's extension's; problem says why there is none. A
// Shapefile must be named .shp: the driver makes a folder of any other name.
template <typename Format>
std::optional<Format> formatFor(const std::string& out, const std::string& given,
                                std::optional<Format> (*formatOf)(const std::string&),
                                Format shapefile, std::string& problem) {
    const std::optional<Format> format = formatOf(given.empty() ? out : "out." + given);
    if (!format) {
        problem = out + ": the extension names no format; give --format";
    } else if (*format == shapefile && formatOf(out) != shapefile) {
        problem = out + ": a Shapefile's name ends in .shp";
        return std::nullopt;
    }
    return format;
}

// A gridding value typed on the command line into value: empty leaves it, "default"
// forgets it, a number above 0 takes it, and with none, "none" is infinity. False when
// the text is none of these.
bool readGiven(const std::string& text, bool none, std::optional<double>& value) {
    if (text == "default") {
        value.reset();
    } else if (none && text == "none") {
        value = std::numeric_limits<double>::infinity();
    } else if (!text.empty()) {
        const std::optional<double> v = wholeNumber(text);
        if (!v || *v <= 0.0) {
            return false;
        }
        value = v;
    }
    return true;
}

Placement::Side sideOf(const std::string& text) {
    return text == "right" ? Placement::Side::Right : Placement::Side::Left;
}

// Whether path's extension is this one, in any case.
bool endsIn(const std::string& path, const std::string& extension) {
    std::string e = fs::path(path).extension().string();
    std::transform(e.begin(), e.end(), e.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return e == extension;
}

std::string absolute(const std::string& path) {
    return fs::absolute(path).lexically_normal().string();
}

}  // namespace

// What any of the commands was given; each reads its own.
struct SurveyCommand::Options {
    std::string survey;
    std::vector<std::string> files;
    std::string file;
    std::string out;
    std::string crs;
    int offset = 0;
    std::string origin;
    double azimuth = 90.0;
    double lineSpacing = 1.0;
    double stationInterval = 1.0;
    double firstLine = 0.0;
    double firstPosition = 0.0;
    std::string linesTo = "left";
    std::vector<std::string> controls;
    std::optional<double> datum;
    std::string normal;
    std::optional<double> height;
    std::string format;
    bool unflagged = false;
    // The gridding's values as typed; empty: the survey's own.
    std::string what;
    std::string cell;
    std::string tension;
    std::string blank;
    std::string interval;
    std::string show = "readings,grid,shade,contours";
    std::string size = "900x560";
    std::string baseFormat = "auto";
    std::string columns;
    int window = SpikeFinder::kWindow;
    std::optional<double> threshold;
    bool apply = false;
    int reading = 0;
    bool clear = false;
    std::string profile = "field";
    int linesPerPage = LineProfilePages::kLinesPerPage;
    std::string word = SurveySettings::Flag::kManual;
};

struct SurveyCommand::Gridded {
    std::optional<Survey> survey;
    SurveySettings::Gridding gridding;
    SurveyGridding::Result result;
};

SurveyCommand::SurveyCommand(std::ostream& out, std::ostream& err, PictureWriter* pictures)
    : out_(out), err_(err), pictures_(pictures) {}

int SurveyCommand::run(const std::vector<std::string>& args) {
    Options o;
    CLI::App app(
        "Build a survey of many days, place and correct its readings, and write them "
        "for GIS and gridding software.",
        "velkor2tr-cli survey");
    app.require_subcommand(1, 1);
    const auto survey = [&o](CLI::App* c) {
        c->add_option("SURVEY", o.survey, "the survey file (.vsurvey)")->required()->type_name("");
    };

    CLI::App* create = app.add_subcommand("new", "make a new survey file with no day");
    survey(create);
    create
        ->add_option("--crs", o.crs,
                     "its coordinate system: a projected one in metres (default: none, local "
                     "metres)")
        ->type_name("EPSG:CODE");

    CLI::App* add = app.add_subcommand("add", "add data files to the survey as its days");
    survey(add);
    add->add_option("DATAFILE", o.files, "data files, each read as it is, never written")
        ->type_name("")
        ->required();

    CLI::App* base = app.add_subcommand("base", "add a variations file as a base source");
    survey(base);
    base->add_option("FILE", o.file,
                     "the base-station file: a variations file, an IAGA-2002 or a CSV file "
                     "(none with --format survey)")
        ->type_name("");
    base->add_option("--offset", o.offset, "seconds added to its times (default 0)")
        ->type_name("SECONDS");
    base->add_option("--format", o.baseFormat,
                     "a variations file, an observatory's IAGA-2002 file, a CSV file (default "
                     "auto: told by the file's content), or survey: the survey's own "
                     "base-station readings")
        ->check(CLI::IsMember({"velkor", "iaga2002", "csv", "auto", "survey"}))
        ->type_name("velkor|iaga2002|csv|auto|survey");
    base->add_option("--columns", o.columns,
                     "for CSV, the columns to take (default: chosen by their names)")
        ->type_name("DATE,TIME,VALUE|DATETIME,VALUE");

    CLI::App* place = app.add_subcommand(
        "place", "place the readings: by origin, azimuth and spacing, or by control points");
    survey(place);
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

    CLI::App* set = app.add_subcommand(
        "set", "change the corrections, the coordinate system and how the readings are gridded");
    survey(set);
    set->add_option("--datum", o.datum, "nT added to every diurnal value (field - base + datum)")
        ->type_name("NT");
    set->add_option("--normal", o.normal,
                    "the normal field taken away: none, a constant in nT, or IGRF-14 at each "
                    "reading")
        ->type_name("none|NT|igrf");
    set->add_option("--height", o.height, "metres above the ellipsoid for IGRF-14 (default 0)")
        ->type_name("M");
    set->add_option("--crs", o.crs, "the coordinate system, or none")->type_name("EPSG:CODE|none");

    CLI::App* info = app.add_subcommand(
        "info", "show the days, base sources, placement, corrections, ranges and counts");
    survey(info);

    CLI::App* exporter = app.add_subcommand("export", "write the placed, corrected readings");
    survey(exporter);
    exporter->add_option("OUT", o.out, "the file to write")->required()->type_name("");
    exporter->add_option("--format", o.format, "the format (default: from OUT's extension)")
        ->check(CLI::IsMember({"csv", "xyz", "gpkg", "shp", "kml"}))
        ->type_name("csv|xyz|gpkg|shp|kml");
    exporter->add_flag("--unflagged", o.unflagged, "leave flagged readings out");

    // The same words set, grid, contours and plot take: set keeps them in the survey, the
    // others use them for this once.
    const auto gridOptions = [&o](CLI::App* c, bool contoured) {
        c->add_option("--what", o.what,
                      "the value gridded (default: the survey's; anomaly in a new survey)")
            ->check(CLI::IsMember({"anomaly", "diurnal", "field", "gradient"}))
            ->type_name("anomaly|diurnal|field|gradient");
        c->add_option("--cell", o.cell,
                      "metres between nodes (default: half the smaller of the reading spacing "
                      "along lines and the line spacing)")
            ->type_name("M|default");
        c->add_option("--tension", o.tension, "0 (minimum curvature) to 1 (default 0.25)")
            ->type_name("T|default");
        c->add_option("--blank", o.blank,
                      "nodes farther than this from every reading have no value; none blanks "
                      "nothing (default 2.5 line spacings)")
            ->type_name("M|none|default");
        if (contoured) {
            c->add_option("--interval", o.interval,
                          "nT between contour levels (default: about 20 levels over the values)")
                ->type_name("NT|default");
        }
    };
    gridOptions(set, true);
    CLI::App* grid = app.add_subcommand(
        "grid", "grid the readings by minimum curvature with tension and write the grid");
    survey(grid);
    grid->add_option("OUT", o.out, "the grid file")->required()->type_name("");
    gridOptions(grid, false);
    grid->add_option("--format", o.format,
                     "GeoTIFF, Surfer 7 binary, Surfer 6 text or ESRI ASCII grid (default: "
                     "from OUT's extension, .tif .grd .asc)")
        ->check(CLI::IsMember({"geotiff", "surfer7", "surfer6", "esri"}))
        ->type_name("geotiff|surfer7|surfer6|esri");

    CLI::App* contours =
        app.add_subcommand("contours", "grid the readings and write the grid's contour lines");
    survey(contours);
    contours->add_option("OUT", o.out, "the contour file")->required()->type_name("");
    gridOptions(contours, true);
    contours->add_option("--format", o.format, "the format (default: from OUT's extension)")
        ->check(CLI::IsMember({"gpkg", "shp", "dxf", "kml"}))
        ->type_name("gpkg|shp|dxf|kml");

    CLI::App* plot = app.add_subcommand(
        "plot", "draw the survey map: readings, colour grid, shaded relief and contours");
    survey(plot);
    plot->add_option("OUT", o.out, "the picture (.png)")->required()->type_name("");
    gridOptions(plot, true);
    plot->add_option("--show", o.show,
                     "the layers, any of readings, grid, shade and contours (default all)")
        ->type_name("readings,grid,shade,contours");
    plot->add_option("--size", o.size, "pixels (default 900x560)")->type_name("WxH");

    CLI::App* plotLines = app.add_subcommand(
        "plot-lines", "print the survey's line profiles to a PDF, a number of lines to a page");
    survey(plotLines);
    plotLines->add_option("OUT", o.out, "the document (.pdf)")->required()->type_name("");
    plotLines->add_option("--what", o.profile, "the value drawn against position (default field)")
        ->check(CLI::IsMember({"field", "diurnal", "anomaly", "gradient"}))
        ->type_name("field|diurnal|anomaly|gradient");
    plotLines->add_option("--lines-per-page", o.linesPerPage, "lines on each page (default 4)")
        ->check(CLI::Range(1, 20))
        ->type_name("N");

    CLI::App* despike = app.add_subcommand(
        "despike", "list the spike candidates along the survey lines; --apply flags them");
    survey(despike);
    despike
        ->add_option("--window", o.window,
                     "readings in the running median, the one looked at among them (default 5)")
        ->check(CLI::Validator(
            [](const std::string& text) {
                const std::optional<double> n = wholeNumber(text);
                return n && *n >= 3 && *n <= 101 && std::fmod(*n, 2.0) == 1.0
                           ? std::string()
                           : std::string("give an odd number from 3 to 101");
            },
            "", ""))
        ->type_name("N");
    despike
        ->add_option("--threshold", o.threshold,
                     "nT from the median (default: 5 times the line's noise, at least 2)")
        ->check(CLI::Validator(
            [](const std::string& text) {
                const std::optional<double> nt = wholeNumber(text);
                return nt && *nt > 0.0 ? std::string() : std::string("give nT above 0");
            },
            "", ""))
        ->type_name("NT");
    despike->add_flag("--apply", o.apply, "flag every candidate with the word spike");

    CLI::App* flag = app.add_subcommand("flag", "flag a reading, or clear its flag");
    survey(flag);
    flag->add_option("FILE", o.file, "the day's data file")->required()->type_name("");
    flag->add_option("READING", o.reading, "the reading's number, as the list numbers it")
        ->required()
        ->type_name("");
    flag->add_flag("--clear", o.clear, "take the flag away");
    flag->add_option("--word", o.word, "the flag's word (default manual)")->type_name("WORD");

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        out_ << (app.get_subcommands().empty() ? app.help()
                                               : app.get_subcommands()[0]->help(app.get_name()));
        return kOk;
    } catch (const CLI::ParseError& e) {
        return usageError(e.what());
    }
    const CLI::App* chosen = app.get_subcommands()[0];
    using Command = int (SurveyCommand::*)(const Options&);
    const std::pair<const CLI::App*, Command> commands[] = {
        {create, &SurveyCommand::create},   {add, &SurveyCommand::add},
        {base, &SurveyCommand::base},       {place, &SurveyCommand::place},
        {set, &SurveyCommand::set},         {info, &SurveyCommand::info},
        {grid, &SurveyCommand::grid},       {contours, &SurveyCommand::contours},
        {plot, &SurveyCommand::plot},       {plotLines, &SurveyCommand::plotLines},
        {despike, &SurveyCommand::despike}, {flag, &SurveyCommand::flag}};
    for (const auto& [app, command] : commands) {
        if (chosen == app) {
            return (this->*command)(o);
        }
    }
    return exportTo(o);
}

std::optional<SurveySettings::Gridding> SurveyCommand::given(const Options& o,
                                                             SurveySettings::Gridding gridding,
                                                             std::string& problem) {
    if (!o.what.empty()) {
        gridding.what = *SurveySettings::Gridding::named(o.what);
    }
    if (!readGiven(o.cell, false, gridding.cell)) {
        problem = "--cell: give metres above 0, or default";
    } else if (!readGiven(o.blank, true, gridding.blankDistance)) {
        problem = "--blank: give metres above 0, none, or default";
    } else if (!readGiven(o.interval, false, gridding.interval)) {
        problem = "--interval: give nT above 0, or default";
    } else if (o.tension == "default") {
        gridding.tension = GriddingOptions::kDefaultTension;
    } else if (!o.tension.empty()) {
        const std::optional<double> t = wholeNumber(o.tension);
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

int SurveyCommand::usageError(const std::string& text) {
    err_ << "velkor2tr-cli survey: " << text << "\n"
         << "Run \"velkor2tr-cli survey --help\" or \"velkor2tr-cli survey COMMAND --help\" "
            "for the commands and their options.\n";
    return kUsage;
}

std::optional<SurveySettings> SurveyCommand::read(const std::string& path) {
    std::string message;
    std::optional<SurveySettings> settings = SurveyFile::read(path, message);
    if (!settings) {
        err_ << message << '\n';
    }
    return settings;
}

std::optional<Survey> SurveyCommand::open(const std::string& path) {
    std::string message;
    std::optional<Survey> survey = Survey::read(path, message);
    if (!survey) {
        err_ << message << '\n';
    }
    return survey;
}

std::optional<Survey> SurveyCommand::open(const std::optional<SurveySettings>& settings) {
    std::string message;
    std::optional<Survey> survey = settings ? Survey::open(*settings, message) : std::nullopt;
    if (settings && !survey) {
        err_ << message << '\n';
    }
    return survey;
}

int SurveyCommand::save(const std::string& path, const SurveySettings& next,
                        std::optional<Survey>* saved) {
    std::string message;
    std::optional<Survey> opened = Survey::open(next, message);
    // Flags whose readings a changed day no longer holds go, and the user hears which.
    SurveySettings kept = next;
    const std::string dropped = opened ? FlagList::dropStale(kept, *opened) : std::string();
    if (!dropped.empty()) {
        err_ << dropped << '\n';
    }
    if (!opened || !SurveyFile::write(path, kept, message)) {
        err_ << message << "\nThe survey file was not changed.\n";
        return kFailed;
    }
    tell(path, *opened);
    if (saved != nullptr) {
        *saved = std::move(opened);
    }
    return kOk;
}

void SurveyCommand::tell(const std::string& path, const Survey& survey) {
    const Survey::Summary t = survey.total();
    out_ << path << ": days " << survey.dayCount() << ", readings " << t.readings << " (merged "
         << t.merged << ", left out " << t.leftOut << "), base sources " << survey.bases().size()
         << '\n';
    if (!survey.normalProblem().empty()) {
        out_ << survey.normalProblem() << '\n';
    }
}

int SurveyCommand::create(const Options& o) {
    SurveySettings next;
    if (!o.crs.empty() && (o.crs == "none" || !readCrs(o.crs, next.epsg))) {
        return usageError("--crs: give EPSG: and the code of a projected coordinate system");
    }
    std::error_code ec;
    if (fs::exists(o.survey, ec)) {
        err_ << o.survey << ": a file of that name exists; nothing was written.\n";
        return kFailed;
    }
    return save(o.survey, next);
}

int SurveyCommand::add(const Options& o) {
    std::optional<SurveySettings> next = read(o.survey);
    if (!next) {
        return kFailed;
    }
    for (const std::string& f : o.files) {
        next->days.push_back(absolute(f));
    }
    return save(o.survey, *next);
}

int SurveyCommand::base(const Options& o) {
    const auto format = *SurveySettings::BaseSource::named(o.baseFormat);
    const bool own = format == SurveySettings::BaseSource::Format::Survey;
    if (own == !o.file.empty()) {
        return usageError(own ? "base: --format survey takes no FILE" : "base: give the FILE");
    }
    std::optional<SurveySettings> next = read(o.survey);
    if (!next) {
        return kFailed;
    }
    SurveySettings::BaseSource source(own ? std::string() : absolute(o.file), o.offset, format,
                                      o.columns);
    if (source.format == SurveySettings::BaseSource::Format::Auto) {
        source.format = BaseSource::detect(source.path);
    }
    // The same source twice would only repeat it in every listing.
    for (const SurveySettings::BaseSource& b : next->baseSources) {
        if (b.format == source.format && b.offset == source.offset &&
            (own || sameFile(b.path, source.path))) {
            err_ << (own ? std::string("The survey's base-station readings are")
                         : SourceText::name(source.path) + " at offset " +
                               std::to_string(source.offset) + " s is") +
                        " a base source of the survey already.\nThe survey file was not changed.\n";
            return kFailed;
        }
    }
    next->baseSources.push_back(source);
    std::optional<Survey> saved;
    const int status = save(o.survey, *next, &saved);
    if (saved) {
        // A source that can never correct a reading is worth saying so at once.
        const std::string problem =
            BaseCoverage::problem(saved->bases().back(), BaseCoverage::dates(*saved));
        if (!problem.empty()) {
            err_ << problem << '\n';
        }
    }
    return status;
}

int SurveyCommand::place(const Options& o) {
    std::optional<SurveySettings> next = read(o.survey);
    if (!next) {
        return kFailed;
    }
    std::string message;
    std::optional<Placement> placement;
    if (!o.controls.empty()) {
        std::vector<Placement::ControlPoint> points;
        for (const std::string& c : o.controls) {
            const std::optional<std::vector<double>> v = numbers(c, 4);
            if (!v) {
                return usageError("--control: give LINE,POS,E,N, four numbers: " + c);
            }
            points.push_back({(*v)[0], (*v)[1], (*v)[2], (*v)[3]});
        }
        placement = Placement::byControlPoints(points, sideOf(o.linesTo), o.lineSpacing,
                                               o.stationInterval, message);
    } else {
        const std::optional<std::vector<double>> at = numbers(o.origin, 2);
        if (!at) {
            return usageError(o.origin.empty() ? "place: give --origin E,N or --control points"
                                               : "--origin: give E,N, two numbers");
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
        placement = Placement::byParameters(p, message);
    }
    if (!placement) {
        err_ << message << '\n';
        return kFailed;
    }
    next->placement = *placement;
    for (const std::string& line : SurveyDescription::placement(*placement)) {
        out_ << line << '\n';
    }
    return save(o.survey, *next);
}

int SurveyCommand::set(const Options& o) {
    std::optional<SurveySettings> next = read(o.survey);
    if (!next) {
        return kFailed;
    }
    if (!o.crs.empty() && !readCrs(o.crs, next->epsg)) {
        return usageError(
            "--crs: give EPSG: and the code of a projected coordinate system, "
            "or none");
    }
    if (o.datum) {
        next->datum = *o.datum;
    }
    using Kind = SurveySettings::NormalField::Kind;
    if (o.normal == "none") {
        next->normal.kind = Kind::None;
    } else if (o.normal == "igrf") {
        next->normal.kind = Kind::Igrf;
    } else if (!o.normal.empty()) {
        const std::optional<double> v = wholeNumber(o.normal);
        if (!v) {
            return usageError("--normal: give none, igrf or a value in nT");
        }
        next->normal.kind = Kind::Constant;
        next->normal.value = *v;
    }
    if (o.height) {
        next->normal.height = *o.height;
    }
    std::string problem;
    const std::optional<SurveySettings::Gridding> gridding = given(o, next->gridding, problem);
    if (!gridding) {
        return usageError(problem);
    }
    next->gridding = *gridding;
    return save(o.survey, *next);
}

int SurveyCommand::info(const Options& o) {
    const std::optional<Survey> survey = open(o.survey);
    if (!survey) {
        return kFailed;
    }
    for (const std::string& line : SurveyDescription::info(*survey)) {
        out_ << line << '\n';
    }
    return kOk;
}

int SurveyCommand::exportTo(const Options& o) {
    std::string problem;
    const std::optional<SurveyExport::Format> format = formatFor(
        o.out, o.format, &SurveyExport::formatOf, SurveyExport::Format::Shapefile, problem);
    if (!format) {
        return usageError(problem);
    }
    const std::optional<Survey> survey = open(o.survey);
    if (!survey) {
        return kFailed;
    }
    if (const int status = checkOut(o, survey->settings()); status != kOk) {
        return status;
    }
    SurveyExport::Options options;
    options.unflagged = o.unflagged;
    options.name = fs::path(o.survey).stem().string();
    std::string message;
    if (!SurveyExport::write(*survey, *format, o.out, options, message)) {
        err_ << message << '\n';
        return kFailed;
    }
    return kOk;
}

int SurveyCommand::checkOut(const Options& o, const SurveySettings& settings) {
    return settings.ownsFile(o.out, o.survey) ? usageError(SurveySettings::ownFileMessage(o.out))
                                              : kOk;
}

int SurveyCommand::gridSurvey(const Options& o, Gridded& gridded, bool grid) {
    gridded.survey = open(o.survey);
    if (!gridded.survey) {
        return kFailed;
    }
    if (const int status = checkOut(o, gridded.survey->settings()); status != kOk) {
        return status;
    }
    std::string problem;
    const std::optional<SurveySettings::Gridding> gridding =
        given(o, gridded.survey->settings().gridding, problem);
    if (!gridding) {
        return usageError(problem);
    }
    gridded.gridding = *gridding;
    if (!grid) {
        return kOk;
    }
    const std::atomic<bool> never{false};
    gridded.result = SurveyGridding::run(*gridded.survey, gridding->what, gridding->options(),
                                         gridding->interval.value_or(0.0), never);
    const GriddingReport& report = gridded.result.gridded.report;
    if (!report.error.empty()) {
        err_ << report.error << '\n';
        return kFailed;
    }
    for (const std::string& line : SurveyGridding::describe(gridded.result)) {
        out_ << line << '\n';
    }
    return kOk;
}

int SurveyCommand::grid(const Options& o) {
    static const std::map<std::string, GridFile::Format> kFormats{
        {"geotiff", GridFile::Format::GeoTiff},
        {"surfer7", GridFile::Format::Surfer7},
        {"surfer6", GridFile::Format::Surfer6},
        {"esri", GridFile::Format::EsriAscii}};
    const std::optional<GridFile::Format> format =
        o.format.empty() ? GridFile::formatOf(o.out)
                         : std::optional<GridFile::Format>(kFormats.at(o.format));
    if (!format) {
        return usageError(o.out + ": the extension names no grid format; give --format");
    }
    Gridded gridded;
    if (const int status = gridSurvey(o, gridded); status != kOk) {
        return status;
    }
    std::string message;
    if (!GridFile::write(gridded.result.gridded.grid, gridded.survey->coordinateSystem(), *format,
                         o.out, message)) {
        err_ << message << '\n';
        return kFailed;
    }
    return kOk;
}

int SurveyCommand::contours(const Options& o) {
    std::string problem;
    const std::optional<ContourFile::Format> format =
        formatFor(o.out, o.format, &ContourFile::formatOf, ContourFile::Format::Shapefile, problem);
    if (!format) {
        return usageError(problem);
    }
    Gridded gridded;
    if (const int status = gridSurvey(o, gridded); status != kOk) {
        return status;
    }
    std::string message;
    if (!ContourFile::write(gridded.result.contours, gridded.survey->coordinateSystem(), *format,
                            o.out, message)) {
        err_ << message << '\n';
        return kFailed;
    }
    return kOk;
}

int SurveyCommand::plot(const Options& o) {
    if (!endsIn(o.out, ".png")) {
        return usageError(o.out + ": the map is drawn as PNG; name a file ending in .png");
    }
    const std::optional<SurveyPicture::Layers> layers = SurveyPicture::layersOf(o.show);
    if (!layers) {
        return usageError(
            "--show: give any of readings, grid, shade and contours, "
            "separated by commas");
    }
    int width = 0;
    int height = 0;
    if (!CliTool::readSize(o.size, width, height)) {
        return usageError("--size: give WxH, each from 200 to 10000 pixels");
    }
    if (pictures_ == nullptr) {
        err_ << "velkor2tr-cli: this build draws no pictures.\n";
        return kFailed;
    }
    Gridded gridded;
    if (const int status = gridSurvey(o, gridded, layers->gridded()); status != kOk) {
        return status;
    }
    const auto draw = [&](DrawingSurface& surface) {
        SurveyPicture::draw(surface, width, height, *gridded.survey,
                            layers->gridded() ? &gridded.result : nullptr, *layers,
                            gridded.gridding.what, GridStretch::Kind::Percentile);
    };
    if (!pictures_->writePng(o.out, width, height, draw)) {
        err_ << DataFile::kWriteError << '\n';
        return kFailed;
    }
    return kOk;
}

int SurveyCommand::plotLines(const Options& o) {
    if (!endsIn(o.out, ".pdf")) {
        return usageError(o.out +
                          ": the line profiles are written as PDF; name a file ending in .pdf");
    }
    if (pictures_ == nullptr) {
        err_ << "velkor2tr-cli: this build draws no pictures.\n";
        return kFailed;
    }
    const std::optional<Survey> survey = open(o.survey);
    if (!survey) {
        return kFailed;
    }
    if (const int status = checkOut(o, survey->settings()); status != kOk) {
        return status;
    }
    // As the profiles window prints them: each line in its own picture, the spike finder's
    // candidates marked.
    LineProfilePainter shown(std::make_shared<LineProfileSet>(LineProfileSet::build(*survey)));
    static const std::map<std::string, LineProfilePainter::Value> kValues{
        {"field", LineProfilePainter::Value::Field},
        {"diurnal", LineProfilePainter::Value::Diurnal},
        {"anomaly", LineProfilePainter::Value::Anomaly},
        {"gradient", LineProfilePainter::Value::Gradient}};
    shown.setValue(kValues.at(o.profile));
    std::vector<int> candidates;
    for (const SpikeFinder::Candidate& c :
         SpikeFinder::find(SpikeFinder::readingsOf(*survey), SpikeFinder::Options())) {
        candidates.push_back(c.index);
    }
    shown.setCandidates(std::move(candidates));
    const int pages = LineProfilePages::pageCount(shown.set().lineCount(), o.linesPerPage);
    if (pages == 0) {
        err_ << LineProfilePainter::kNoLine << '\n';
        return kFailed;
    }
    const std::string title = "Survey " + fs::path(o.survey).filename().string();
    const auto drawPage = [&](DrawingSurface& surface, int width, int height, int page) {
        LineProfilePages::drawPage(surface, shown, false, title, o.linesPerPage, width, height,
                                   page);
    };
    if (!pictures_->writePdf(o.out, pages, drawPage)) {
        err_ << DataFile::kWriteError << '\n';
        return kFailed;
    }
    out_ << pages << (pages == 1 ? " page\n" : " pages\n");
    return kOk;
}

int SurveyCommand::despike(const Options& o) {
    std::optional<SurveySettings> next = read(o.survey);
    const std::optional<Survey> survey = open(next);
    if (!survey) {
        return kFailed;
    }
    SpikeFinder::Options options;
    options.window = o.window;
    options.threshold = o.threshold;
    const std::vector<SpikeFinder::Candidate> candidates =
        SpikeFinder::find(SpikeFinder::readingsOf(*survey), options);
    out_ << "file,reading,line,position,value,median,reason\n";
    for (const SpikeFinder::Candidate& c : candidates) {
        const Survey::Reading g = survey->reading(c.index);
        out_ << formatText("%s,%d,%g,%g,%.2f,%.2f,%s\n",
                           fs::path(survey->day(g.day).path).filename().string().c_str(), g.line,
                           c.line, c.position, c.value, c.median, SpikeFinder::name(c.reason));
        if (o.apply) {
            FlagList::set(*next, *survey, c.index, SurveySettings::Flag::kSpike);
        }
    }
    if (!o.apply) {
        return kOk;
    }
    out_ << candidates.size() << " readings flagged as spike\n";
    return save(o.survey, *next);
}

int SurveyCommand::flag(const Options& o) {
    std::optional<SurveySettings> next = read(o.survey);
    const std::optional<Survey> survey = open(next);
    if (!survey) {
        return kFailed;
    }
    const std::string file = absolute(o.file);
    std::string message;
    if (o.clear) {
        if (!FlagList::clear(*next, file, o.reading)) {
            err_ << o.file << ": reading " << o.reading << " has no flag.\n";
            return kFailed;
        }
    } else if (!FlagList::set(*next, *survey, file, o.reading, o.word, message)) {
        err_ << message << '\n';
        return kFailed;
    }
    return save(o.survey, *next);
}

}  // namespace velkor
