// Draws the base panel of one date: each base source's curve, numbered, against time of
// day, the survey's readings marked along the time axis, and a key naming the sources
// (and saying which hold no sample of the date).
#pragma once

#include <string>
#include <vector>

#include "pictures/BaseCurvePainter.h"
#include "pictures/GraphScale.h"

namespace velkor {

class BasePanel;
class DrawingSurface;

class BasePanelPainter {
  public:
    static BaseCurvePainter::TimeAxis timeAxis(const BasePanel& panel);
    static GraphScale::Axis valueAxis(const BasePanel& panel);
    // The key's line for source k (counted from 1 on the panel).
    static std::string keyLine(const BasePanel& panel, int k);
    static void draw(DrawingSurface& surface, const BasePanel& panel, int width, int height,
                     int em = BaseCurvePainter::kScreenEm);
};

}  // namespace velkor
