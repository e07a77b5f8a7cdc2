// Draws the plan map of a day to scale: the coloured cells (or the values posted), the
// marked readings, the axes "Position" and "Line" with round ticks, the colour scale bar in
// nT and a title. The window, the printed page and the command-line tool all draw through this.
#pragma once

#include <string>
#include <vector>

#include "pictures/PlanMap.h"

namespace velkor {

class DrawingSurface;

class PlanMapPainter {
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
    // What a picture shows: the part of the day to be seen whole (the plot area
    // widens it to scale), how, and the data lines of the readings marked as selected.
    struct View {
        PlanMap::Bounds window;
        PlanMapGeometry::Scale scale;
        Style style = Style::Colours;
        std::vector<int> marked;
    };

    static Frame frame(int width, int height, int em);
    // The plan rectangle the plot area shows for a view's window: widened to scale.
    static PlanMap::Bounds shown(const Frame& f, const PlanMap::Bounds& window,
                                 const PlanMapGeometry::Scale& scale);
    // Device pixels of plan points in the shown rectangle w.
    static int deviceX(const Frame& f, const PlanMap::Bounds& w, double x);
    static int deviceY(const Frame& f, const PlanMap::Bounds& w, double y);
    static Point planPoint(const Frame& f, const PlanMap::Bounds& w, int px, int py);
    // The window scaled by factor (above 1 zooms in) keeping the plan point `about` fixed;
    // unchanged where that would go past kMaxZoom or kMaxZoomOut times the whole day.
    static PlanMap::Bounds zoomed(const PlanMap::Bounds& w, double factor, Point about,
                                  const PlanMap::Bounds& whole);

    static void draw(DrawingSurface& surface, const PlanMap& map, const View& view, int width,
                     int height, const std::string& title, int em = kScreenEm);

  private:
    static void drawCells(DrawingSurface& s, const PlanMap& map, const Frame& f,
                          const PlanMap::Bounds& w);
    static void drawPosted(DrawingSurface& s, const PlanMap& map, const Frame& f,
                           const PlanMap::Bounds& w, int em);
    static void drawMarks(DrawingSurface& s, const PlanMap& map, const Frame& f,
                          const PlanMap::Bounds& w, const std::vector<int>& marked);
    static void drawAxes(DrawingSurface& s, const PlanMap& map, const Frame& f,
                         const PlanMap::Bounds& w, int em);
    static void drawScaleBar(DrawingSurface& s, const PlanMap& map, const Frame& f, int em);
};

}  // namespace velkor
