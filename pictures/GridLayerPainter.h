// The gridded layers of the survey map: the grid as one image (coloured, shaded or both),
// the contours with their labels and the colour bar. The images and the shading are worked
// out once, when the painter is made; drawing only scales them.
#pragma once

#include <cstdint>
#include <vector>

#include "pictures/DrawingSurface.h"
#include "pictures/GridStretch.h"
#include "pictures/ShadedRelief.h"
#include "pictures/SurveyMapGeometry.h"
#include "survey/SurveyGridding.h"

namespace velkor {

class GridLayerPainter {
  public:
    GridLayerPainter() = default;
    // Keeps a pointer to result, which must outlive the painter.
    GridLayerPainter(const SurveyGridding::Result& result, const GridStretch::Choice& stretch,
                     ShadedRelief::Light light = {});

    // No grid, or a grid without a value.
    bool empty() const { return result_ == nullptr || stretch_.empty(); }
    const SurveyGridding::Result* result() const { return result_; }
    const GridStretch& stretch() const { return stretch_; }
    // The area the grid's cells cover, in metres.
    SurveyMapGeometry::Bounds bounds() const;
    // The image drawn: coloured, shaded (grey) or both; null when neither.
    const DrawingSurface::Image* image(bool colours, bool shade) const;

    void drawImage(DrawingSurface& s, const SurveyMapGeometry::Transform& t, bool colours,
                   bool shade) const;
    // Every contour, the index ones heavier.
    void drawContours(DrawingSurface& s, const SurveyMapGeometry::Transform& t) const;
    // The labels along the index contours, on top of everything else; one that would
    // cover a label already drawn is left out.
    void drawContourLabels(DrawingSurface& s, const SurveyMapGeometry::Transform& t, int em) const;
    // The colour scale right of the frame, in nT, titled with what is gridded.
    void drawColourBar(DrawingSurface& s, const SurveyMapGeometry::Frame& f, const char* what,
                       int em) const;
    // The values the colour bar labels, greatest first.
    std::vector<double> barValues() const;

  private:
    const SurveyGridding::Result* result_ = nullptr;
    GridStretch stretch_;
    DrawingSurface::Image colours_;
    DrawingSurface::Image shaded_;
    DrawingSurface::Image shade_;
};

}  // namespace velkor
