// What a survey file says: the days, the base sources, how to place, correct and grid the
// readings, and the flags. Paths are as the program opens them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "gridding/GriddingOptions.h"
#include "gridding/RegionalTrend.h"
#include "survey/Placement.h"

namespace velkor {

struct SurveySettings {
    // A file of base-station values; offset seconds are added to its times.
    struct BaseSource {
        // A variations file (.a), an observatory's IAGA-2002 file, a CSV file; Auto is
        // told by the file's content when it is opened.
        // Survey: the survey's own base-station ('A') readings, no file of its own.
        enum class Format { Velkor, Iaga2002, Csv, Auto, Survey };

        BaseSource() = default;
        BaseSource(std::string path, int offset, Format format = Format::Velkor,
                   std::string columns = {})
            : path(std::move(path)), offset(offset), format(format), columns(std::move(columns)) {}

        std::string path;
        int offset = 0;
        Format format = Format::Velkor;
        // For CSV: the names of the columns to take, "DATE,TIME,VALUE" or
        // "DATETIME,VALUE"; empty: chosen from the header.
        std::string columns;
        bool operator==(const BaseSource& o) const;

        // "velkor", "iaga2002", "csv", "auto", "survey", as files and the command line
        // write them.
        static const char* name(Format format);
        static std::optional<Format> named(std::string_view name);
    };
    // A GNSS log of where the sensor was carried; offset seconds are added to its times
    // to bring them to the instrument's clock.
    struct Track {
        enum class Format { Gpx, Nmea, Csv };

        std::string path;
        Format format = Format::Gpx;
        double offset = 0.0;
        // CSV: the columns to take, empty for the header's own choice (given a default so that
        // a track named by path, format and offset alone needs none).
        std::string columns = std::string();
        bool operator==(const Track& o) const;

        // "gpx", "nmea", "csv", as files and the command line write them.
        static const char* name(Format format);
        static std::optional<Format> named(std::string_view name);
    };
    // The regional field taken away to leave the anomaly.
    struct NormalField {
        enum class Kind { None, Constant, Igrf };
        Kind kind = Kind::None;
        double value = 0.0;   // nT, for a constant
        double height = 0.0;  // m above the WGS 84 ellipsoid, for IGRF-14
        bool operator==(const NormalField& o) const;
    };
    // A reading left out of grids and anomaly products, known by its file, its reading
    // number there and its line text, so that it is found again only while it is the same.
    struct Flag {
        std::string file;
        int reading = 0;
        std::string text;
        std::string word;
        bool operator==(const Flag& o) const;

        // The words of flags set by the program's despiking and by hand.
        static constexpr const char* kSpike = "spike";
        static constexpr const char* kManual = "manual";
    };

    // How the readings are gridded and contoured; what is unset takes the default the
    // readings and their placement give.
    struct Gridding {
        enum class What { Anomaly, Diurnal, Field, Gradient };
        static constexpr int kWhats = 4;

        What what = What::Anomaly;
        std::optional<double> cell;  // metres
        double tension = GriddingOptions::kDefaultTension;
        std::optional<double> blankDistance;  // metres; infinity blanks nothing
        std::optional<double> interval;       // nT between contour levels
        // The regional trend fitted to the readings and taken away before gridding.
        RegionalTrend::Kind regional = RegionalTrend::Kind::None;

        bool operator==(const Gridding& o) const;
        bool operator!=(const Gridding& o) const { return !(*this == o); }
        // The gridder's options with these values; the rest as GriddingOptions has them.
        GriddingOptions options() const;

        // "anomaly", "diurnal", "field", "gradient", as files and the command line write them.
        static const char* name(What what);
        static std::optional<What> named(std::string_view name);
    };

    // Offsets and a stagger the survey estimates from its own readings after the diurnal
    // correction: between days, between walking directions, line by line, and along lines.
    struct Levelling {
        enum class Destagger { None, Auto, Given };

        bool days = false;
        std::string fixDay;  // the day held at 0; empty: the days' offsets keep a mean of 0
        bool directions = false;
        bool lines = false;
        double threshold = 3.0;  // nT from a line's median beyond which a reading is left out
        Destagger destagger = Destagger::None;
        double stagger = 0.0;  // metres, when given; nothing otherwise

        // Whether any step is asked for: without one the survey is as it was before.
        bool any() const { return days || directions || lines || destagger != Destagger::None; }
        bool operator==(const Levelling& o) const;
        bool operator!=(const Levelling& o) const { return !(*this == o); }
    };

    std::vector<std::string> days;
    std::vector<BaseSource> baseSources;
    std::vector<Track> tracks;
    std::optional<int> epsg;  // no coordinate system: local metres
    Placement placement;
    double datum = 0.0;  // nT
    NormalField normal;
    std::vector<Flag> flags;
    Gridding gridding;
    Levelling levelling;

    bool operator==(const SurveySettings& o) const;
    bool operator!=(const SurveySettings& o) const { return !(*this == o); }
    // Whether path is the survey file (named by surveyPath) or a day, base source or track of it:
    // a file nothing may be written over.
    bool ownsFile(const std::string& path, const std::string& surveyPath) const;
    // "PATH is the survey file or one of its days or base sources: give the output
    // another name."
    static std::string ownFileMessage(const std::string& path);
};

}  // namespace velkor
