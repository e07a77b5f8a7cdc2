// Draws the plan map of a survey to scale: the coloured cells (or the values posted), the
// marked readings, the axes "Position" and "Line" with round ticks, the colour scale bar in
// nT and a title. The window, the printed page and the command-line tool all draw through this.
#pragma once

#include <string>
#include <vector>

#include "views/SurveyMap.h"

namespace velkor {

class DrawingSurface;

class MapPainter {
  public:
    static constexpr int kScreenEm = 12;
    static constexpr double kMaxZoom = 1000.0;
    static constexpr double kMaxZoomOut = 100.0;
    static constexpr int kSmallestMark = 7;  // pixels across a mark, however small its cell
    static constexpr const char* kNothingToMap = "No reading has a value to map.";
    enum class Style { Colours, Values };

    // The plot area of a picture, in device pixels.
    struct Frame {
        int left, top, right, bottom;
    };
    struct Point {
        double x, y;
    };
    // What a picture shows: the part of the survey to be seen whole (the plot area
    // widens it to scale), how, and the data lines of the readings marked as selected.
    struct View {
        SurveyMap::Bounds window;
        MapGeometry::Scale scale;
        Style style = Style::Colours;
        std::vector<int> marked;
    };

    static Frame frame(int width, int height, int em);
    // The survey rectangle the plot area shows for a view's window: widened to scale.
    static SurveyMap::Bounds shown(const Frame& f, const SurveyMap::Bounds& window,
                                   const MapGeometry::Scale& scale);
    // Device pixels of survey points in the shown rectangle w.
    static int deviceX(const Frame& f, const SurveyMap::Bounds& w, double x);
    static int deviceY(const Frame& f, const SurveyMap::Bounds& w, double y);
    static Point surveyPoint(const Frame& f, const SurveyMap::Bounds& w, int px, int py);
    // The window scaled by factor (above 1 zooms in) keeping the survey point `about` fixed;
    // unchanged where that would go past kMaxZoom or kMaxZoomOut times the whole survey.
    static SurveyMap::Bounds zoomed(const SurveyMap::Bounds& w, double factor, Point about,
                                    const SurveyMap::Bounds& whole);

    static void draw(DrawingSurface& surface, const SurveyMap& map, const View& view, int width,
                     int height, const std::string& title, int em = kScreenEm);

  private:
    static void drawCells(DrawingSurface& s, const SurveyMap& map, const Frame& f,
                          const SurveyMap::Bounds& w);
    static void drawPosted(DrawingSurface& s, const SurveyMap& map, const Frame& f,
                           const SurveyMap::Bounds& w, int em);
    static void drawMarks(DrawingSurface& s, const SurveyMap& map, const Frame& f,
                          const SurveyMap::Bounds& w, const std::vector<int>& marked);
    static void drawAxes(DrawingSurface& s, const SurveyMap& map, const Frame& f,
                         const SurveyMap::Bounds& w, int em);
    static void drawScaleBar(DrawingSurface& s, const SurveyMap& map, const Frame& f, int em);
};

}  // namespace velkor
