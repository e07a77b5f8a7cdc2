// Reading and writing survey files.
#include "survey/SurveyFile.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <initializer_list>
#include <iterator>
#include <limits>
#include <nlohmann/json.hpp>
#include <set>
#include <string_view>
#include <utility>

#include "core/BoundedFile.h"
#include "core/SafeFileWriter.h"
#include "data/DataFile.h"
#include "text/QuotedText.h"

namespace velkor {
namespace {

namespace fs = std::filesystem;
// Ordered: keys are written in the order a person reads them.
using Json = nlohmann::ordered_json;

// A refusal on the way down the file: the place and what is wrong there.
struct Refusal {
    std::string message;
};

[[noreturn]] void refuse(const std::string& place, const std::string& what) {
    throw Refusal{place + ": " + what};
}

// A key as the file gives it, however long.
std::string member(const std::string& place, const std::string& key) {
    return place.empty() ? QuotedText::of(key) : place + "." + QuotedText::of(key);
}

std::string item(const std::string& place, std::size_t k) {
    return place + "[" + std::to_string(k) + "]";
}

const Json& object(const Json& j, const std::string& place,
                   std::initializer_list<const char*> keys) {
    if (!j.is_object()) {
        refuse(place.empty() ? "the file" : place, "expected an object");
    }
    for (const auto& entry : j.items()) {
        bool known = false;
        for (const char* k : keys) {
            known = known || entry.key() == k;
        }
        if (!known) {
            refuse(member(place, entry.key()), "unknown key");
        }
    }
    return j;
}

const Json& list(const Json& j, const std::string& place) {
    if (!j.is_array()) {
        refuse(place, "expected a list");
    }
    return j;
}

std::string text(const Json& j, const std::string& place) {
    if (!j.is_string()) {
        refuse(place, "expected a text");
    }
    return j.get<std::string>();
}

double number(const Json& j, const std::string& place) {
    if (!j.is_number() || !std::isfinite(j.get<double>())) {
        refuse(place, "expected a number");
    }
    return j.get<double>();
}

int whole(const Json& j, const std::string& place) {
    // Above the largest long long a number is held unsigned: its long long would wrap.
    constexpr long long kLargest = SurveyFile::kLargestWhole;
    if (!j.is_number_integer() ||
        (j.is_number_unsigned() && j.get<unsigned long long>() > kLargest) ||
        j.get<long long>() < -kLargest || j.get<long long>() > kLargest) {
        refuse(place, "expected a whole number");
    }
    return static_cast<int>(j.get<long long>());
}

template <typename Read>
auto optional(const Json& parent, const char* key, const std::string& place, Read read,
              decltype(read(parent, place)) otherwise) {
    const auto it = parent.find(key);
    return it == parent.end() ? otherwise : read(*it, member(place, key));
}

bool yesNo(const Json& j, const std::string& place) {
    if (!j.is_boolean()) {
        refuse(place, "expected true or false");
    }
    return j.get<bool>();
}

// A value the file may leave out, meaning "the default".
std::optional<double> present(const Json& parent, const char* key, const std::string& place,
                              double (*read)(const Json&, const std::string&)) {
    const auto it = parent.find(key);
    return it == parent.end() ? std::nullopt : std::optional<double>(read(*it, member(place, key)));
}

const Json& required(const Json& parent, const char* key, const std::string& place) {
    const auto it = parent.find(key);
    if (it == parent.end()) {
        refuse(member(place, key), "missing");
    }
    return *it;
}

// A path as the file gives it, relative to the file's folder unless absolute.
std::string resolved(const Json& j, const std::string& place, const fs::path& folder) {
    const fs::path p(text(j, place));
    if (p.empty()) {
        refuse(place, "expected a file name");
    }
    return (p.is_absolute() ? p : folder / p).lexically_normal().string();
}

std::string relative(const std::string& path, const fs::path& folder) {
    std::error_code error;
    const fs::path target = fs::absolute(path, error);
    const fs::path from = fs::absolute(folder.empty() ? fs::path(".") : folder, error);
    const fs::path rel = target.lexically_normal().lexically_relative(from.lexically_normal());
    return rel.empty() ? target.generic_string() : rel.generic_string();
}

Placement::Side side(const Json& j, const std::string& place) {
    const std::string s = text(j, place);
    if (s != "right" && s != "left") {
        refuse(place, "expected \"right\" or \"left\"");
    }
    return s == "right" ? Placement::Side::Right : Placement::Side::Left;
}

const char* sideName(Placement::Side s) {
    return s == Placement::Side::Right ? "right" : "left";
}

Placement readPlacement(const Json& j, const std::string& place) {
    object(j, place,
           {"by", "origin_easting", "origin_northing", "azimuth", "line_spacing",
            "station_interval", "first_line", "first_position", "lines_to", "control_points",
            "antenna_along", "antenna_across", "lag", "lag_estimated", "max_gap"});
    const std::string by = text(required(j, "by", place), member(place, "by"));
    std::string message;
    std::optional<Placement> made;
    if (by == "none") {
        object(j, place, {"by"});
        return Placement();
    }
    const double spacing = optional(j, "line_spacing", place, number, 1.0);
    const double interval = optional(j, "station_interval", place, number, 1.0);
    if (by == "parameters") {
        object(j, place,
               {"by", "origin_easting", "origin_northing", "azimuth", "line_spacing",
                "station_interval", "first_line", "first_position", "lines_to"});
        Placement::Parameters p;
        p.originEasting = optional(j, "origin_easting", place, number, 0.0);
        p.originNorthing = optional(j, "origin_northing", place, number, 0.0);
        p.azimuth = number(required(j, "azimuth", place), member(place, "azimuth"));
        p.lineSpacing = spacing;
        p.stationInterval = interval;
        p.firstLine = optional(j, "first_line", place, number, 0.0);
        p.firstPosition = optional(j, "first_position", place, number, 0.0);
        p.side = optional(j, "lines_to", place, side, Placement::Side::Left);
        made = Placement::byParameters(p, message);
    } else if (by == "control points") {
        object(j, place, {"by", "control_points", "line_spacing", "station_interval", "lines_to"});
        const std::string at = member(place, "control_points");
        std::vector<Placement::ControlPoint> points;
        const Json& all = list(required(j, "control_points", place), at);
        for (std::size_t k = 0; k < all.size(); ++k) {
            const std::string pp = item(at, k);
            const Json& c = object(all[k], pp, {"line", "position", "easting", "northing"});
            points.push_back({number(required(c, "line", pp), member(pp, "line")),
                              number(required(c, "position", pp), member(pp, "position")),
                              number(required(c, "easting", pp), member(pp, "easting")),
                              number(required(c, "northing", pp), member(pp, "northing"))});
        }
        made = Placement::byControlPoints(
            points, optional(j, "lines_to", place, side, Placement::Side::Left), spacing, interval,
            message);
    } else if (by == "track") {
        object(j, place,
               {"by", "antenna_along", "antenna_across", "lag", "lag_estimated", "max_gap"});
        Placement::Track t;
        t.along = optional(j, "antenna_along", place, number, 0.0);
        t.across = optional(j, "antenna_across", place, number, 0.0);
        t.lag = optional(j, "lag", place, number, 0.0);
        t.maxGap = optional(j, "max_gap", place, number, t.maxGap);
        t.lagEstimated = optional(j, "lag_estimated", place, yesNo, false);
        made = Placement::byTrack(t, message);
    } else {
        refuse(member(place, "by"),
               "expected \"none\", \"parameters\", \"control points\" or \"track\"");
    }
    if (!made) {
        refuse(place, message);
    }
    return *made;
}

Json writePlacement(const Placement& placement) {
    const Placement::Parameters& p = placement.parameters();
    switch (placement.by()) {
        case Placement::By::Nothing:
            break;
        case Placement::By::Parameters:
            return Json{{"by", "parameters"},
                        {"origin_easting", p.originEasting},
                        {"origin_northing", p.originNorthing},
                        {"azimuth", p.azimuth},
                        {"line_spacing", p.lineSpacing},
                        {"station_interval", p.stationInterval},
                        {"first_line", p.firstLine},
                        {"first_position", p.firstPosition},
                        {"lines_to", sideName(p.side)}};
        case Placement::By::ControlPoints: {
            Json points = Json::array();
            for (const Placement::ControlPoint& c : placement.controlPoints()) {
                points.push_back({{"line", c.line},
                                  {"position", c.position},
                                  {"easting", c.easting},
                                  {"northing", c.northing}});
            }
            return Json{{"by", "control points"},
                        {"control_points", points},
                        {"line_spacing", p.lineSpacing},
                        {"station_interval", p.stationInterval},
                        {"lines_to", sideName(p.side)}};
        }
        case Placement::By::Track: {
            const Placement::Track& t = placement.track();
            Json j{{"by", "track"},
                   {"antenna_along", t.along},
                   {"antenna_across", t.across},
                   {"lag", t.lag},
                   {"max_gap", t.maxGap}};
            // Written only when so: a lag given keeps its file as it was.
            if (t.lagEstimated) {
                j["lag_estimated"] = true;
            }
            return j;
        }
    }
    return Json{{"by", "none"}};
}

SurveySettings::NormalField readNormal(const Json& j, const std::string& place) {
    using Kind = SurveySettings::NormalField::Kind;
    object(j, place, {"kind", "value", "height"});
    SurveySettings::NormalField normal;
    const std::string kind = text(required(j, "kind", place), member(place, "kind"));
    if (kind == "none") {
        object(j, place, {"kind"});
    } else if (kind == "constant") {
        object(j, place, {"kind", "value"});
        normal.kind = Kind::Constant;
        normal.value = number(required(j, "value", place), member(place, "value"));
    } else if (kind == "igrf") {
        object(j, place, {"kind", "height"});
        normal.kind = Kind::Igrf;
        normal.height = optional(j, "height", place, number, 0.0);
    } else {
        refuse(member(place, "kind"), "expected \"none\", \"constant\" or \"igrf\"");
    }
    return normal;
}

Json writeNormal(const SurveySettings::NormalField& normal) {
    switch (normal.kind) {
        case SurveySettings::NormalField::Kind::None:
            break;
        case SurveySettings::NormalField::Kind::Constant:
            return Json{{"kind", "constant"}, {"value", normal.value}};
        case SurveySettings::NormalField::Kind::Igrf:
            return Json{{"kind", "igrf"}, {"height", normal.height}};
    }
    return Json{{"kind", "none"}};
}

std::optional<int> readEpsg(const Json& j, const std::string& place) {
    if (j.is_null()) {
        return std::nullopt;
    }
    const std::string s = text(j, place);
    constexpr std::string_view kPrefix = "EPSG:";
    const std::string digits = s.substr(std::min(s.size(), kPrefix.size()));
    if (s.compare(0, kPrefix.size(), kPrefix) != 0 || digits.empty() || digits.size() > 9 ||
        digits.find_first_not_of("0123456789") != std::string::npos) {
        refuse(place, "expected \"EPSG:\" and a code, or null");
    }
    return std::stoi(digits);
}

// One of a choice's names, as named() knows them; expected lists them for the refusal.
template <typename Choice>
Choice chosen(const Json& j, const std::string& place,
              std::optional<Choice> (*named)(std::string_view), const char* expected) {
    const std::optional<Choice> c = named(text(j, place));
    if (!c) {
        refuse(place, expected);
    }
    return *c;
}

SurveySettings::BaseSource::Format baseFormat(const Json& j, const std::string& place) {
    return chosen(j, place, &SurveySettings::BaseSource::named,
                  "expected \"velkor\", \"iaga2002\", \"csv\", \"auto\" or \"survey\"");
}

SurveySettings::Track::Format trackFormat(const Json& j, const std::string& place) {
    return chosen(j, place, &SurveySettings::Track::named, "expected \"gpx\", \"nmea\" or \"csv\"");
}

std::vector<SurveySettings::Track> readTracks(const Json& j, const fs::path& folder) {
    const Json& all = list(j, "tracks");
    std::vector<SurveySettings::Track> tracks;
    for (std::size_t k = 0; k < all.size(); ++k) {
        const std::string place = item("tracks", k);
        object(all[k], place, {"path", "format", "offset", "columns"});
        SurveySettings::Track t;
        t.path = resolved(required(all[k], "path", place), member(place, "path"), folder);
        t.format = trackFormat(required(all[k], "format", place), member(place, "format"));
        t.offset = optional(all[k], "offset", place, number, 0.0);
        // As a base file's: 68 years either way keeps the fixes' dates on the calendar.
        if (!(std::abs(t.offset) <= SurveyFile::kLargestWhole)) {
            refuse(member(place, "offset"), "expected a number from -2147483647 to 2147483647");
        }
        t.columns = optional(all[k], "columns", place, text, std::string());
        tracks.push_back(std::move(t));
    }
    return tracks;
}

// A length in metres or a number of nT: above nought.
double positive(const Json& j, const std::string& place) {
    const double v = number(j, place);
    if (v <= 0.0) {
        refuse(place, "expected a number above 0");
    }
    return v;
}

SurveySettings::Gridding::What gridOf(const Json& j, const std::string& place) {
    return chosen(j, place, &SurveySettings::Gridding::named,
                  "expected \"anomaly\", \"diurnal\", \"field\" or \"gradient\"");
}

RegionalTrend::Kind regional(const Json& j, const std::string& place) {
    return chosen(j, place, &RegionalTrend::named, "expected \"none\", \"plane\" or \"quadratic\"");
}

// "none": no node is blanked.
double blanking(const Json& j, const std::string& place) {
    return j.is_string() && j.get<std::string>() == "none" ? std::numeric_limits<double>::infinity()
                                                           : positive(j, place);
}

SurveySettings::Gridding readGridding(const Json& j, const std::string& place) {
    object(j, place,
           {"grid_of", "cell", "tension", "blanking_distance", "contour_interval", "regional"});
    SurveySettings::Gridding g;
    g.what = optional(j, "grid_of", place, gridOf, g.what);
    g.tension = optional(j, "tension", place, number, g.tension);
    if (g.tension < 0.0 || g.tension > 1.0) {
        refuse(member(place, "tension"), "expected a number from 0 to 1");
    }
    g.cell = present(j, "cell", place, positive);
    g.blankDistance = present(j, "blanking_distance", place, blanking);
    g.interval = present(j, "contour_interval", place, positive);
    g.regional = optional(j, "regional", place, regional, g.regional);
    return g;
}

Json writeGridding(const SurveySettings::Gridding& g) {
    Json j = Json::object();
    j["grid_of"] = SurveySettings::Gridding::name(g.what);
    if (g.cell) {
        j["cell"] = *g.cell;
    }
    j["tension"] = g.tension;
    if (g.blankDistance) {
        j["blanking_distance"] =
            std::isfinite(*g.blankDistance) ? Json(*g.blankDistance) : Json("none");
    }
    if (g.interval) {
        j["contour_interval"] = *g.interval;
    }
    // A survey without a regional trend is written as before the choice existed.
    if (g.regional != RegionalTrend::Kind::None) {
        j["regional"] = RegionalTrend::name(g.regional);
    }
    return j;
}

// "none", "auto" or the stagger in metres.
void readDestagger(const Json& j, const std::string& place, SurveySettings::Levelling& l) {
    using D = SurveySettings::Levelling::Destagger;
    if (j.is_number()) {
        l.destagger = D::Given;
        l.stagger = number(j, place);
        return;
    }
    const std::string s = j.is_string() ? j.get<std::string>() : std::string();
    if (s != "none" && s != "auto") {
        refuse(place, "expected \"none\", \"auto\" or a number of metres");
    }
    l.destagger = s == "auto" ? D::Auto : D::None;
}

SurveySettings::Levelling readLevelling(const Json& j, const std::string& place,
                                        const fs::path& folder) {
    object(j, place, {"days", "fix_day", "directions", "lines", "threshold", "destagger"});
    SurveySettings::Levelling l;
    l.days = optional(j, "days", place, yesNo, false);
    if (j.contains("fix_day")) {
        l.fixDay = resolved(j["fix_day"], member(place, "fix_day"), folder);
    }
    l.directions = optional(j, "directions", place, yesNo, false);
    l.lines = optional(j, "lines", place, yesNo, false);
    l.threshold = optional(j, "threshold", place, positive, l.threshold);
    if (j.contains("destagger")) {
        readDestagger(j["destagger"], member(place, "destagger"), l);
    }
    return l;
}

Json writeLevelling(const SurveySettings::Levelling& l, const fs::path& folder) {
    using D = SurveySettings::Levelling::Destagger;
    Json j = Json::object();
    j["days"] = l.days;
    if (!l.fixDay.empty()) {
        j["fix_day"] = relative(l.fixDay, folder);
    }
    j["directions"] = l.directions;
    j["lines"] = l.lines;
    j["threshold"] = l.threshold;
    j["destagger"] =
        l.destagger == D::Given ? Json(l.stagger) : Json(l.destagger == D::Auto ? "auto" : "none");
    return j;
}

SurveySettings readSettings(const Json& root, const fs::path& folder) {
    object(root, "",
           {"format", "version", "days", "base_sources", "tracks", "coordinate_system", "placement",
            "datum", "normal_field", "flags", "gridding", "levelling"});
    if (text(required(root, "format", ""), "format") != SurveyFile::kFormat) {
        refuse("format", std::string("expected \"") + SurveyFile::kFormat + "\"");
    }
    const int version = whole(required(root, "version", ""), "version");
    if (version > SurveyFile::kVersion) {
        refuse("version", std::to_string(version) + " is newer than this program reads (" +
                              std::to_string(SurveyFile::kVersion) + ")");
    }
    if (version < 1) {
        refuse("version", "expected " + std::to_string(SurveyFile::kVersion));
    }
    SurveySettings s;
    const Json none = Json::array();
    const Json& days = list(root.contains("days") ? root["days"] : none, "days");
    for (std::size_t k = 0; k < days.size(); ++k) {
        const std::string place = item("days", k);
        object(days[k], place, {"path"});
        s.days.push_back(resolved(required(days[k], "path", place), member(place, "path"), folder));
    }
    const Json& bases =
        list(root.contains("base_sources") ? root["base_sources"] : none, "base_sources");
    for (std::size_t k = 0; k < bases.size(); ++k) {
        const std::string place = item("base_sources", k);
        object(bases[k], place, {"path", "offset", "format", "columns"});
        SurveySettings::BaseSource b;
        b.format = optional(bases[k], "format", place, baseFormat, b.format);
        // The survey's own base-station readings have no file.
        if (b.format != SurveySettings::BaseSource::Format::Survey || bases[k].contains("path")) {
            b.path = resolved(required(bases[k], "path", place), member(place, "path"), folder);
        }
        b.offset = optional(bases[k], "offset", place, whole, 0);
        b.columns = optional(bases[k], "columns", place, text, std::string());
        s.baseSources.push_back(std::move(b));
    }
    if (root.contains("tracks")) {
        s.tracks = readTracks(root["tracks"], folder);
    }
    if (root.contains("coordinate_system")) {
        s.epsg = readEpsg(root["coordinate_system"], "coordinate_system");
    }
    if (root.contains("placement")) {
        s.placement = readPlacement(root["placement"], "placement");
    }
    s.datum = optional(root, "datum", "", number, 0.0);
    if (root.contains("normal_field")) {
        s.normal = readNormal(root["normal_field"], "normal_field");
    }
    const Json& flags = list(root.contains("flags") ? root["flags"] : none, "flags");
    for (std::size_t k = 0; k < flags.size(); ++k) {
        const std::string place = item("flags", k);
        const Json& f = object(flags[k], place, {"file", "reading", "text", "word"});
        s.flags.push_back({resolved(required(f, "file", place), member(place, "file"), folder),
                           whole(required(f, "reading", place), member(place, "reading")),
                           text(required(f, "text", place), member(place, "text")),
                           text(required(f, "word", place), member(place, "word"))});
    }
    if (root.contains("gridding")) {
        s.gridding = readGridding(root["gridding"], "gridding");
    }
    if (root.contains("levelling")) {
        s.levelling = readLevelling(root["levelling"], "levelling", folder);
    }
    return s;
}

// Line and column of a byte of the text, counted from 1.
std::string whereIs(const std::string& text, std::size_t byte) {
    std::size_t line = 1;
    std::size_t column = 1;
    for (std::size_t k = 0; k + 1 < byte && k < text.size(); ++k) {
        if (text[k] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

// The exception names the number between quotes; its first place in the text is where it is.
std::string numberOutOfRange(const std::string& text, const std::string& what) {
    const std::size_t open = what.find('\'');
    const std::size_t close = what.rfind('\'');
    std::string where = "the file";
    if (open != std::string::npos && close > open + 1) {
        const std::size_t at = text.find(what.substr(open + 1, close - open - 1));
        if (at != std::string::npos)
            where = whereIs(text, at + 1);
    }
    return where + ": a number too large to read";
}

// Lists and objects nested deeper than any survey file's: refused before the parser
// builds them, at the place the limit is passed.
std::string tooDeep(const std::string& text) {
    int depth = 0;
    bool inText = false;
    for (std::size_t k = 0; k < text.size(); ++k) {
        const char c = text[k];
        if (inText) {
            k += c == '\\' ? 1 : 0;
            inText = c != '"';
        } else if (c == '"') {
            inText = true;
        } else if (c == '[' || c == '{') {
            if (++depth > SurveyFile::kMaxDepth) {
                return whereIs(text, k + 1) + ": lists and objects nested more than " +
                       std::to_string(SurveyFile::kMaxDepth) + " deep";
            }
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return {};
}

// Follows the parser through the file and refuses a key given twice in one object, which
// the parser would take silently (the last one winning); it names the place as the
// refusals of the settings do.
class KeysOnce {
  public:
    void see(Json::parse_event_t event, const Json& parsed) {
        using Event = Json::parse_event_t;
        if (frames_.empty() && event != Event::object_start && event != Event::array_start) {
            return;  // a file of one value alone: nothing to count
        }
        switch (event) {
            case Event::object_start:
            case Event::array_start:
                open(event == Event::object_start);
                break;
            case Event::object_end:
            case Event::array_end:
                frames_.pop_back();
                break;
            case Event::key:
                key(parsed.get<std::string>());
                break;
            case Event::value:
                frames_.back().items += frames_.back().object ? 0 : 1;
                break;
        }
    }

  private:
    struct Frame {
        bool object = false;
        std::string place;
        std::set<std::string> keys;
        std::string key;
        std::size_t items = 0;
    };

    void open(bool object) {
        std::string place;
        if (!frames_.empty()) {
            Frame& parent = frames_.back();
            place = parent.object ? member(parent.place, parent.key)
                                  : item(parent.place, parent.items++);
        }
        frames_.push_back({object, std::move(place), {}, {}, 0});
    }

    void key(const std::string& name) {
        Frame& f = frames_.back();
        if (!f.keys.insert(name).second) {
            refuse(member(f.place, name), "given twice");
        }
        f.key = name;
    }

    std::vector<Frame> frames_;
};

// The folder the file's relative paths start from: the one it really lies in, when it is
// reached through a link (to the file or to a folder on the way); else its folder as named.
fs::path realFolder(const std::string& path) {
    std::error_code error;
    const fs::path real = fs::weakly_canonical(path, error).parent_path();
    std::error_code ignored;
    const fs::path plain = fs::absolute(path, ignored).lexically_normal().parent_path();
    return error || real == plain ? fs::path(path).parent_path() : real;
}

}  // namespace

std::optional<SurveySettings> SurveyFile::parse(const std::string& text, const std::string& folder,
                                                std::string& message) {
    if (text.find_first_not_of(" \t\r\n") == std::string::npos) {
        message = DataFile::kEmpty;
        return std::nullopt;
    }
    message = tooDeep(text);
    if (!message.empty()) {
        return std::nullopt;
    }
    Json root;
    try {
        KeysOnce once;
        root = Json::parse(text, [&once](int, Json::parse_event_t event, Json& parsed) {
            once.see(event, parsed);
            return true;
        });
    } catch (const Json::parse_error& e) {
        message = whereIs(text, e.byte) + ": not valid JSON";
        return std::nullopt;
    } catch (const Json::out_of_range& e) {
        // A number too large for a double ("1e999") is thrown here without a place.
        message = numberOutOfRange(text, e.what());
        return std::nullopt;
    } catch (const Refusal& r) {
        message = r.message;
        return std::nullopt;
    }
    try {
        return readSettings(root, fs::path(folder));
    } catch (const Refusal& r) {
        message = r.message;
        return std::nullopt;
    }
}

std::optional<std::string> SurveyFile::bytes(const std::string& path, std::string& message) {
    std::string all;
    switch (BoundedFile::read(path, kMaxBytes, all)) {
        case BoundedFile::Outcome::Read:
            return all;
        case BoundedFile::Outcome::NotRegular:
            message =
                QuotedText::of(path) + ": not a regular file: a survey file cannot be read from it";
            return std::nullopt;
        case BoundedFile::Outcome::TooLarge:
            message = QuotedText::of(path) + ": larger than 64 MB, too large for a survey file";
            return std::nullopt;
        case BoundedFile::Outcome::CannotOpen:
        case BoundedFile::Outcome::ReadError:
            break;
    }
    message = QuotedText::of(path) + ": " + DataFile::kReadError;
    return std::nullopt;
}

std::optional<SurveySettings> SurveyFile::read(const std::string& path, std::string& message,
                                               std::string* bytesRead) {
    const std::optional<std::string> all = bytes(path, message);
    if (!all) {
        return std::nullopt;
    }
    if (bytesRead != nullptr) {
        *bytesRead = *all;
    }
    return parse(*all, realFolder(path).string(), message);
}

std::string SurveyFile::text(const SurveySettings& s, const std::string& folder) {
    const fs::path at(folder);
    Json days = Json::array();
    for (const std::string& d : s.days) {
        days.push_back({{"path", relative(d, at)}});
    }
    Json bases = Json::array();
    for (const SurveySettings::BaseSource& b : s.baseSources) {
        Json base = Json::object();
        if (b.format != SurveySettings::BaseSource::Format::Survey) {
            base["path"] = relative(b.path, at);
        }
        base["offset"] = b.offset;
        // A variations file is written as before this choice existed.
        if (b.format != SurveySettings::BaseSource::Format::Velkor) {
            base["format"] = SurveySettings::BaseSource::name(b.format);
        }
        if (!b.columns.empty()) {
            base["columns"] = b.columns;
        }
        bases.push_back(base);
    }
    Json flags = Json::array();
    for (const SurveySettings::Flag& f : s.flags) {
        flags.push_back({{"file", relative(f.file, at)},
                         {"reading", f.reading},
                         {"text", f.text},
                         {"word", f.word}});
    }
    Json root;
    root["format"] = kFormat;
    root["version"] = kVersion;
    root["days"] = days;
    root["base_sources"] = bases;
    // A survey without tracks is written as before they existed.
    if (!s.tracks.empty()) {
        Json tracks = Json::array();
        for (const SurveySettings::Track& t : s.tracks) {
            tracks.push_back({{"path", relative(t.path, at)},
                              {"format", SurveySettings::Track::name(t.format)},
                              {"offset", t.offset}});
            if (!t.columns.empty()) {
                tracks.back()["columns"] = t.columns;
            }
        }
        root["tracks"] = tracks;
    }
    root["coordinate_system"] = s.epsg ? Json("EPSG:" + std::to_string(*s.epsg)) : Json(nullptr);
    root["placement"] = writePlacement(s.placement);
    root["datum"] = s.datum;
    root["normal_field"] = writeNormal(s.normal);
    root["flags"] = flags;
    // A survey gridded as the readings suggest is written as before this choice existed.
    if (s.gridding != SurveySettings::Gridding()) {
        root["gridding"] = writeGridding(s.gridding);
    }
    // So is a survey that is not levelled.
    if (s.levelling != SurveySettings::Levelling()) {
        root["levelling"] = writeLevelling(s.levelling, at);
    }
    return root.dump(2) + "\n";
}

bool SurveyFile::write(const std::string& path, const SurveySettings& settings,
                       std::string& message) {
    // What is written must read back, or the survey could no longer be opened.
    const std::string folder = realFolder(path).string();
    const std::string all = text(settings, folder);
    if (!parse(all, folder, message)) {
        return false;
    }
    SafeFileWriter out(path);
    if (out.open()) {
        out.write(all);
    }
    if (!out.commit()) {
        message = DataFile::kWriteError;
        return false;
    }
    return true;
}

}  // namespace velkor
