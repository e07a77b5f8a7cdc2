// Draws the plan map of a survey: the coloured cells (or the values posted), the axes
// "Position" and "Line" with round ticks, the colour scale bar in nT and a title. The
// window, the printed page and the command-line tool all draw through this.
#pragma once

#include <string>

#include "views/SurveyMap.h"

namespace velkor {

class DrawingSurface;

class MapPainter {
  public:
    static constexpr int kScreenEm = 12;
    static constexpr double kMaxZoom = 1000.0;
    static constexpr double kMaxZoomOut = 100.0;
    static constexpr const char* kNothingToMap = "No reading has a value to map.";
    enum class Style { Colours, Values };

    // The plot area of a picture, in device pixels.
    struct Frame {
        int left, top, right, bottom;
    };
    struct Point {
        double x, y;
    };

    static Frame frame(int width, int height, int em);
    // The survey rectangle shown on the plot area, given in SurveyMap::Bounds.
    static int deviceX(const Frame& f, const SurveyMap::Bounds& w, double x);
    static int deviceY(const Frame& f, const SurveyMap::Bounds& w, double y);
    static Point surveyPoint(const Frame& f, const SurveyMap::Bounds& w, int px, int py);
    // The window scaled by factor (above 1 zooms in) keeping the survey point `about` fixed;
    // unchanged where that would go past kMaxZoom or kMaxZoomOut times the whole survey.
    static SurveyMap::Bounds zoomed(const SurveyMap::Bounds& w, double factor, Point about,
                                    const SurveyMap::Bounds& whole);

    static void draw(DrawingSurface& surface, const SurveyMap& map, const SurveyMap::Bounds& window,
                     int width, int height, const std::string& title, Style style = Style::Colours,
                     int em = kScreenEm);

  private:
    static void drawCells(DrawingSurface& s, const SurveyMap& map, const Frame& f,
                          const SurveyMap::Bounds& w, Style style, int em);
    static void drawAxes(DrawingSurface& s, const SurveyMap& map, const Frame& f,
                         const SurveyMap::Bounds& w, int em);
    static void drawScaleBar(DrawingSurface& s, const SurveyMap& map, const Frame& f, int em);
};

}  // namespace velkor
