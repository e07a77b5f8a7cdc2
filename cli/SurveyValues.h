// The values velkor2tr-cli survey reads from the words typed: numbers taken whole, lists of
// numbers, coordinate systems, output formats and file names.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "text/QuotedText.h"

namespace velkor {

class SurveyValues {
  public:
    // The number the whole text is (blanks around it and a plus sign allowed), finite;
    // nothing for any other text, "12abc" among them.
    static std::optional<double> wholeNumber(const std::string& text);
    // "1,2.5,-3": exactly count numbers; nothing when the text is not that.
    static std::optional<std::vector<double>> numbers(const std::string& text, std::size_t count);
    // "EPSG:32633" or "none"; false when it is neither.
    static bool readCrs(const std::string& text, std::optional<int>& epsg);
    // A gridding value typed into value: empty leaves it, "default" forgets it, a number
    // above 0 takes it, and with none, "none" is infinity. False when the text is none of
    // these.
    static bool readGiven(const std::string& text, bool none, std::optional<double>& value);
    // Whether path's extension is this one, in any case.
    static bool endsIn(const std::string& path, const std::string& extension);
    // The path from the root, as the survey file keeps its days and base sources.
    static std::string absolute(const std::string& path);

    // The format --format names, else OUT's extension's; problem says why there is none. A
    // Shapefile must be named .shp: the driver makes a folder of any other name.
    template <typename Format>
    static std::optional<Format> formatFor(const std::string& out, const std::string& given,
                                           std::optional<Format> (*formatOf)(const std::string&),
                                           Format shapefile, std::string& problem) {
        const std::optional<Format> format = formatOf(given.empty() ? out : "out." + given);
        if (!format) {
            problem = QuotedText::of(out) + ": the extension names no format; give --format";
        } else if (*format == shapefile && formatOf(out) != shapefile) {
            problem = QuotedText::of(out) + ": a Shapefile's name ends in .shp";
            return std::nullopt;
        }
        return format;
    }
};

}  // namespace velkor
