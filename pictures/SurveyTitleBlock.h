// The title block over a printed survey map: the survey's name and dates, what is mapped,
// the datum and normal field, the regional removed, the coordinate system, the scale and
// how the grid was made.
#pragma once

#include <string>
#include <vector>

#include "pictures/SurveyMapPainter.h"
#include "survey/SurveyGridding.h"

namespace velkor {

class DrawingSurface;
class Survey;

class SurveyTitleBlock {
  public:
    // gridded null: the readings alone, coloured by value. scale: the map's 1:N, when known.
    static std::vector<std::string> lines(const Survey& survey, const std::string& name,
                                          const SurveyGridding::Result* gridded,
                                          SurveyMapPainter::Value value, long long scale = 0);
    // "Coordinate system WGS 84 / UTM zone 33N (EPSG:32633)", or local metres.
    static std::string coordinateSystem(const Survey& survey);
    // "06.07.2026 - 09.07.2026": the first and last dates of all the days.
    static std::string dates(const Survey& survey);
    // A character's width in ems of the fixed-pitch font.
    static constexpr double kCharWidth = 0.6;
    // The em the block is drawn at on a page width wide: em, or less where a line would
    // not fit its column.
    static int fittedEm(const std::vector<std::string>& lines, int width, int em);
    // The block's height at this em: the lines in two columns.
    static int height(const std::vector<std::string>& lines, int em);
    // Boxed, across the top of a page width wide, the first half of the lines on the left.
    static void draw(DrawingSurface& s, int width, const std::vector<std::string>& lines, int em);
};

}  // namespace velkor
