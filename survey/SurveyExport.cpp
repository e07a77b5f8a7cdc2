// One row per survey reading, cut from its day's line and the survey's computed values;
// each format only says how a row is written.
#include "survey/SurveyExport.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <functional>
#include <numeric>
#include <string_view>
#include <vector>

#include "core/SafeFileWriter.h"
#include "geo/VectorWriter.h"
#include "survey/SurveyFlags.h"
#include "text/LineTitle.h"
#include "text/NumberText.h"
#include "text/QuotedText.h"
#include "text/TextFormat.h"
#include "text/Trim.h"

namespace velkor {
namespace {

namespace fs = std::filesystem;
using Format = SurveyExport::Format;

std::optional<double> present(std::optional<float> v) {
    return v ? std::optional<double>(static_cast<double>(*v)) : std::nullopt;
}

// Everything one reading's row says; a value that does not exist is empty.
struct Row {
    std::string file;
    int reading = 0;
    std::string_view line, position, date, time;
    double easting = 0.0, northing = 0.0;
    std::optional<double> latitude, longitude;
    double field = 0.0;
    std::optional<double> base, diurnal, normal, anomaly, gradient;
    std::string_view flag;
    double level = 0.0;  // nT levelling added
    char mode = 'S';
};

// The readings to write, in the survey's order, each with its row.
class Rows {
  public:
    // Latitudes and longitudes are worked out all at once: one at a time, the coordinate
    // transformation would take most of the export's time.
    // A point layer leaves the base-station readings out unless asked for them.
    Rows(const Survey& survey, const SurveyExport::Options& options, bool pointLayer = false)
        : survey_(survey), flags_(survey), latLons_(survey.latLons()) {
        for (int d = 0; d < survey.dayCount(); ++d) {
            files_.push_back(fs::path(survey.day(d).path).filename().string());
        }
        for (int r = 0; r < survey.readingCount(); ++r) {
            const Survey::Reading g = survey.readingWithoutLatLon(r);
            const bool base = pointLayer && !options.includeBase && g.mode == 'A';
            if (!base && (!options.unflagged || !flags_.flagged(g))) {
                chosen_.push_back(r);
            }
        }
    }

    const std::vector<int>& chosen() const { return chosen_; }

    Row row(int r) const {
        const Survey::Reading g = survey_.readingWithoutLatLon(r);
        const DataSet& data = survey_.day(g.day).data;
        Row w;
        w.file = files_[static_cast<std::size_t>(g.day)];
        w.reading = g.line;
        w.line = Trim::spacesAndTabs(data.field(g.line, Column::Line));
        w.position = Trim::spacesAndTabs(data.field(g.line, Column::Pos));
        w.date = Trim::spacesAndTabs(data.field(g.line, Column::Date));
        w.time = Trim::spacesAndTabs(data.field(g.line, Column::Time));
        w.easting = g.easting;
        w.northing = g.northing;
        if (!latLons_.empty() && !std::isnan(latLons_[static_cast<std::size_t>(r)].latitude)) {
            w.latitude = latLons_[static_cast<std::size_t>(r)].latitude;
            w.longitude = latLons_[static_cast<std::size_t>(r)].longitude;
        }
        w.field = static_cast<double>(g.field);
        w.base = present(g.base);
        w.diurnal = present(g.diurnal);
        w.normal = present(g.normal);
        w.anomaly = present(g.anomaly);
        w.gradient = survey_.gradient(g);
        w.flag = flags_.word(g);
        w.level = static_cast<double>(g.level);
        w.mode = g.mode;
        return w;
    }

    // Line numbers in order, positions in order within each line, else the survey's order;
    // with each reading's line number.
    std::vector<std::pair<int, double>> byLineAndPosition() const {
        struct Key {
            double line, position;
            int r;
        };
        std::vector<Key> keys;
        keys.reserve(chosen_.size());
        for (const int r : chosen_) {
            const Survey::Reading g = survey_.readingWithoutLatLon(r);
            const DataSet& data = survey_.day(g.day).data;
            keys.push_back({readDecimal(data.field(g.line, Column::Line)),
                            readDecimal(data.field(g.line, Column::Pos)), r});
        }
        std::stable_sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
            return a.line < b.line || (a.line == b.line && a.position < b.position);
        });
        std::vector<std::pair<int, double>> order;
        order.reserve(keys.size());
        for (const Key& k : keys) {
            order.emplace_back(k.r, k.line);
        }
        return order;
    }

  private:
    const Survey& survey_;
    SurveyFlags flags_;
    std::vector<CoordinateSystem::LatLon> latLons_;  // empty without a coordinate system
    std::vector<std::string> files_;
    std::vector<int> chosen_;
};

constexpr int kMetres = 3;
constexpr int kDegrees = 8;
constexpr int kNanotesla = 2;

void appendNumber(std::string& out, const std::optional<double>& v, int decimals,
                  std::string_view none) {
    if (v && std::isfinite(*v)) {
        appendFixed(out, *v, 0, decimals);
    } else {
        out += none;
    }
}

void appendCsvText(std::string& out, std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += text;
        return;
    }
    out += '"';
    for (const char c : text) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    out += '"';
}

// A word of an XYZ row: no blanks inside, '*' when empty.
void appendXyzText(std::string& out, std::string_view text) {
    if (text.empty()) {
        out += '*';
        return;
    }
    for (const char c : text) {
        out += std::isspace(static_cast<unsigned char>(c)) ? '_' : c;
    }
}

using Text = void (*)(std::string&, std::string_view);

std::string rowText(const Row& w, char separator, Text text, std::string_view none) {
    std::string out;
    const auto next = [&] { out += separator; };
    text(out, w.file);
    next();
    out += std::to_string(w.reading);
    for (const std::string_view t : {w.line, w.position, w.date, w.time}) {
        next();
        text(out, t);
    }
    next();
    appendNumber(out, w.easting, kMetres, none);
    next();
    appendNumber(out, w.northing, kMetres, none);
    next();
    appendNumber(out, w.latitude, kDegrees, none);
    next();
    appendNumber(out, w.longitude, kDegrees, none);
    for (const std::optional<double>& v :
         {std::optional<double>(w.field), w.base, w.diurnal, w.normal, w.anomaly, w.gradient}) {
        next();
        appendNumber(out, v, kNanotesla, none);
    }
    next();
    text(out, w.flag);
    next();
    appendNumber(out, w.level, kNanotesla, none);
    return out;
}

// Every line of a file, in order, without its line end.
using LineSink = std::function<void(std::string_view)>;

void csvLines(const Survey& survey, const SurveyExport::Options& options, const LineSink& sink) {
    sink(SurveyExport::kColumns);
    const Rows rows(survey, options);
    for (const int r : rows.chosen()) {
        sink(rowText(rows.row(r), ',', appendCsvText, ""));
    }
}

void xyzLines(const Survey& survey, const SurveyExport::Options& options, const LineSink& sink) {
    std::string columns = SurveyExport::kColumns;
    std::replace(columns.begin(), columns.end(), ',', ' ');
    // The name is a file's: it may hold line breaks, which would begin lines of their own.
    std::string name = options.name;
    std::replace_if(
        name.begin(), name.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    sink(name.empty() ? std::string("/ Velkor2tr survey") : "/ Velkor2tr survey: " + name);
    sink("/ " + columns);
    const Rows rows(survey, options);
    bool first = true;
    double current = 0.0;
    for (const auto& [r, line] : rows.byLineAndPosition()) {
        if (first || line != current) {
            sink(LineTitle::of(line, LineTitle::Form::SixDecimals));
            current = line;
            first = false;
        }
        sink(rowText(rows.row(r), ' ', appendXyzText, "*"));
    }
}

std::string wholeText(void (*lines)(const Survey&, const SurveyExport::Options&, const LineSink&),
                      const Survey& survey, const SurveyExport::Options& options) {
    std::string out;
    lines(survey, options, [&out](std::string_view l) {
        out += l;
        out += "\r\n";
    });
    return out;
}

bool writeText(const Survey& survey, Format format, const std::string& path,
               const SurveyExport::Options& options, std::string& message) {
    SafeFileWriter writer(path);
    if (!writer.open()) {
        message = "Write error: " + QuotedText::of(path);
        return false;
    }
    const LineSink sink = [&writer](std::string_view l) { writer.writeLine(l); };
    if (format == Format::Csv) {
        csvLines(survey, options, sink);
    } else {
        SurveyExport::Options named = options;
        if (named.name.empty()) {
            named.name = fs::path(path).stem().string();
        }
        xyzLines(survey, named, sink);
    }
    if (!writer.commit()) {
        message = "Write error: " + QuotedText::of(path);
        return false;
    }
    return true;
}

double rounded(double v, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::round(v * scale) / scale;
}

VectorWriter::Value real(const std::optional<double>& v, int decimals) {
    if (!v || !std::isfinite(*v)) {
        return {};
    }
    return decimals > 0 ? rounded(*v, decimals) : *v;
}

VectorWriter::Value number(std::string_view t) {
    return real(readDecimalNumber(t), 0);
}

VectorWriter::Value text(std::string_view t) {
    return t.empty() ? VectorWriter::Value{} : VectorWriter::Value{std::string(t)};
}

bool writePoints(const Survey& survey, Format format, const std::string& path,
                 const SurveyExport::Options& options, std::string& message) {
    using T = VectorWriter::FieldType;
    VectorWriter::Layer layer;
    layer.name = fs::path(path).stem().string();
    layer.geometry = VectorWriter::Geometry::Point;
    // Line and position are numbers a GIS sorts and filters as numbers.
    layer.fields = {{"file", T::Text},      {"reading", T::Integer}, {"line", T::Real},
                    {"position", T::Real},  {"date", T::Text},       {"time", T::Text},
                    {"easting", T::Real},   {"northing", T::Real},   {"latitude", T::Real},
                    {"longitude", T::Real}, {"field", T::Real},      {"base", T::Real},
                    {"diurnal", T::Real},   {"normal", T::Real},     {"anomaly", T::Real},
                    {"gradient", T::Real},  {"flag", T::Text},       {"level", T::Real}};
    if (options.includeBase) {
        layer.fields.push_back({"mode", T::Text});
    }
    if (const CoordinateSystem* crs = survey.coordinateSystem()) {
        layer.wkt = crs->wkt();
    }
    const VectorWriter::Format kind =
        format == Format::GeoPackage  ? VectorWriter::Format::GeoPackage
        : format == Format::Shapefile ? VectorWriter::Format::Shapefile
                                      : VectorWriter::Format::Kml;
    VectorWriter writer(path, kind, std::move(layer));
    if (!writer.open(message)) {
        return false;
    }
    const Rows rows(survey, options, true);
    for (const int r : rows.chosen()) {
        const Row w = rows.row(r);
        std::vector<VectorWriter::Value> values{w.file,
                                                static_cast<long long>(w.reading),
                                                number(w.line),
                                                number(w.position),
                                                text(w.date),
                                                text(w.time),
                                                rounded(w.easting, kMetres),
                                                rounded(w.northing, kMetres),
                                                real(w.latitude, 0),
                                                real(w.longitude, 0),
                                                rounded(w.field, kNanotesla),
                                                real(w.base, kNanotesla),
                                                real(w.diurnal, kNanotesla),
                                                real(w.normal, kNanotesla),
                                                real(w.anomaly, kNanotesla),
                                                real(w.gradient, kNanotesla),
                                                text(w.flag),
                                                rounded(w.level, kNanotesla)};
        if (options.includeBase) {
            values.emplace_back(std::string(1, w.mode));
        }
        if (!writer.addPoint({w.easting, w.northing}, values)) {
            break;
        }
    }
    return writer.finish(message);
}

}  // namespace

std::optional<Format> SurveyExport::formatOf(const std::string& path) {
    std::string ext = fs::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == ".csv") {
        return Format::Csv;
    }
    if (ext == ".xyz") {
        return Format::Xyz;
    }
    if (ext == ".gpkg") {
        return Format::GeoPackage;
    }
    if (ext == ".shp") {
        return Format::Shapefile;
    }
    if (ext == ".kml") {
        return Format::Kml;
    }
    return std::nullopt;
}

std::string SurveyExport::csv(const Survey& survey, const Options& options) {
    return wholeText(csvLines, survey, options);
}

std::string SurveyExport::xyz(const Survey& survey, const Options& options) {
    return wholeText(xyzLines, survey, options);
}

bool SurveyExport::write(const Survey& survey, Format format, const std::string& path,
                         const Options& options, std::string& message) {
    if (format == Format::Csv || format == Format::Xyz) {
        return writeText(survey, format, path, options, message);
    }
    return writePoints(survey, format, path, options, message);
}

}  // namespace velkor
