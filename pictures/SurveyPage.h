// The printed survey map, one page: the title block across the top and the map filling
// the rest, its lines at print weight. The window's Print and Print to PDF and the tool's
// `survey plot OUT.pdf` all draw this page, so that they give the same one.
#pragma once

#include <string>

#include "pictures/SurveyPicture.h"

namespace velkor {

class DrawingSurface;
class Survey;

class SurveyPage {
  public:
    // The thinnest line printed, in points.
    static constexpr double kLinePoints = 0.5;

    struct Map {
        const Survey* survey;
        std::string name;
        const SurveyMapPainter* readings;
        const GridLayerPainter* grid;  // null: none
        SurveyPicture::Layers layers;
        SurveyMapPainter::Value value;
        // The map drawn at the next standard scale down from the one that fills the page.
        bool standardScale = false;
    };

    // Whether the map comes out larger on a landscape page than on a portrait one.
    static bool landscape(const Map& map);
    // The text size: the same share of the page's long side at any resolution.
    static int em(int width, int height);
    // Device units of a print-weight line at this resolution.
    static int lineWidth(double dotsPerInch);
    // N of the scale 1:N of a map drawn with t on a device of this resolution.
    static long long scale(const SurveyMapGeometry::Transform& t, double dotsPerInch);
    // The least standard scale (1, 1.25, 2, 2.5 or 5 times a power of ten, from 1:10) whose
    // N is at least n.
    static long long standardScale(double n);

    // The page on width x height device units at dotsPerInch.
    static void draw(DrawingSurface& s, int width, int height, double dotsPerInch, const Map& map);

  private:
    static double mapScaleOn(const Map& map, int width, int height);
};

}  // namespace velkor
