// The whole survey map as the window, the printer and the command-line tool draw it: the
// readings alone, or the gridded layers (colour grid, shaded relief, contours) with the
// readings' positions on top, to scale, with north arrow, scale bar, colour bar and the
// coordinates on the frame.
#pragma once

#include <optional>
#include <string>

#include "pictures/GridLayerPainter.h"
#include "pictures/GridStretch.h"
#include "pictures/SurveyMapGeometry.h"
#include "pictures/SurveyMapPainter.h"
#include "survey/SurveyGridding.h"

namespace velkor {

class DrawingSurface;
class Survey;

class SurveyPicture {
  public:
    // More readings than this are drawn as smaller dots, and over a grid one in each square
    // of kThinning dots across.
    static constexpr std::size_t kManyPositions = 50000;
    static constexpr int kThinning = 3;

    struct Layers {
        bool readings = true;
        bool grid = false;
        bool shade = false;
        bool contours = false;
        // Any layer that needs a grid.
        bool gridded() const { return grid || shade || contours; }
        bool operator==(const Layers& o) const {
            return readings == o.readings && grid == o.grid && shade == o.shade &&
                   contours == o.contours;
        }
    };

    // "readings,grid,shade,contours": any of the four words, comma-separated; nothing for
    // an empty list or a word it does not know.
    static std::optional<Layers> layersOf(const std::string& list);
    // The readings' value of the same name.
    static SurveyMapPainter::Value valueOf(SurveyGridding::What what);

    // Where the gridded map goes in a picture of this size: room on the left and above for
    // the coordinates, on the right for the colour bar, below for the scale bar.
    static SurveyMapGeometry::Frame frame(int width, int height, int em);
    // The scale and place of the map: the readings', with the grid's cells when a grid
    // layer is drawn. With no grid layer to draw it is the readings' map's own.
    static SurveyMapGeometry::Transform transform(int width, int height, int em,
                                                  const SurveyMapPainter& readings,
                                                  const GridLayerPainter* grid, Layers layers,
                                                  double shrink = 1.0);
    // Whether the gridded picture is drawn: a grid layer is chosen and there is a grid.
    static bool showsGrid(const GridLayerPainter* grid, Layers layers);

    // From painters already made (the window keeps them between paints). Without a grid
    // layer to draw, exactly the readings' map coloured by value; with one, the colour bar
    // names what is gridded.
    static void draw(DrawingSurface& surface, int width, int height,
                     const SurveyMapPainter& readings, const GridLayerPainter* grid, Layers layers,
                     SurveyMapPainter::Value value, int em = SurveyMapPainter::kScreenEm,
                     double shrink = 1.0);
    // The same picture straight from a survey and its gridding (null: none), for a tool
    // without a window. The readings are coloured by what is gridded.
    static void draw(DrawingSurface& surface, int width, int height, const Survey& survey,
                     const SurveyGridding::Result* gridded, Layers layers,
                     SurveyGridding::What what, const GridStretch::Choice& stretch,
                     int em = SurveyMapPainter::kScreenEm);

    // The survey reading whose position is within a few pixels of (x, y), or -1.
    static int readingAt(const SurveyMapPainter& readings, const SurveyMapGeometry::Transform& t,
                         int x, int y);

  private:
    static void drawGridded(DrawingSurface& s, int width, int height,
                            const SurveyMapPainter& readings, const GridLayerPainter& grid,
                            Layers layers, int em, double shrink);
    // overGrid: drawn over the grid's colours or relief, which many dots would hide.
    static void drawPositions(DrawingSurface& s, const SurveyMapPainter& readings,
                              const SurveyMapGeometry::Transform& t, int em, bool overGrid);
    static void drawCoordinates(DrawingSurface& s, const SurveyMapGeometry::Bounds& b,
                                const SurveyMapGeometry::Transform& t, int em);
};

}  // namespace velkor
