// The title block over a printed survey map: the survey's name and dates, what is mapped,
// the datum and normal field and how the grid was made.
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
    // gridded null: the readings alone, coloured by value.
    static std::vector<std::string> lines(const Survey& survey, const std::string& name,
                                          const SurveyGridding::Result* gridded,
                                          SurveyMapPainter::Value value);
    // "06.07.2026 - 09.07.2026": the first and last dates of all the days.
    static std::string dates(const Survey& survey);
    // The block's height at this em.
    static int height(const std::vector<std::string>& lines, int em);
    // Boxed, across the top of a page width wide.
    static void draw(DrawingSurface& s, int width, const std::vector<std::string>& lines, int em);
};

}  // namespace velkor
