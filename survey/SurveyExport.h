// The survey's placed and corrected readings written for other software: CSV, Geosoft XYZ,
// and GeoPackage, ESRI Shapefile and KML point layers, all with the same columns.
#pragma once

#include <optional>
#include <string>

#include "survey/Survey.h"

namespace velkor {

class SurveyExport {
  public:
    enum class Format { Csv, Xyz, GeoPackage, Shapefile, Kml };
    struct Options {
        bool unflagged = false;  // leave flagged readings out
        std::string name;        // the survey's name in the XYZ comments
        // GIS point layers: the base-station ('A') readings too, each row with its mode.
        // They are no survey points, so they are left out otherwise.
        bool includeBase = false;
    };

    static constexpr const char* kColumns =
        "file,reading,line,position,date,time,easting,northing,latitude,longitude,field,base,"
        "diurnal,normal,anomaly,gradient,flag,level";

    // The format of a file name's extension (.csv, .xyz, .gpkg, .shp, .kml, any case).
    static std::optional<Format> formatOf(const std::string& path);

    // The whole file, every line ending in CR LF.
    static std::string csv(const Survey& survey, const Options& options);
    static std::string xyz(const Survey& survey, const Options& options);

    // Writes through a temporary file; false and a message naming the file when it cannot
    // be written, the old file then intact.
    static bool write(const Survey& survey, Format format, const std::string& path,
                      const Options& options, std::string& message);
};

}  // namespace velkor
