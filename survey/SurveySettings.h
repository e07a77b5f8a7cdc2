// What a survey file says: the days, the base sources, how to place and correct the
// readings, and the flags. Paths are as the program opens them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "survey/Placement.h"

namespace velkor {

struct SurveySettings {
    // A file of base-station values; offset seconds are added to its times.
    struct BaseSource {
        std::string path;
        int offset = 0;
        bool operator==(const BaseSource& o) const;
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
    };

    std::vector<std::string> days;
    std::vector<BaseSource> baseSources;
    std::optional<int> epsg;  // no coordinate system: local metres
    Placement placement;
    double datum = 0.0;  // nT
    NormalField normal;
    std::vector<Flag> flags;

    bool operator==(const SurveySettings& o) const;
    bool operator!=(const SurveySettings& o) const { return !(*this == o); }
};

}  // namespace velkor
