// A drawing surface that hands everything on to another, moved by (dx, dy): a picture
// drawn from (0, 0) lands below a title or beside a margin.
#pragma once

#include "pictures/DrawingSurface.h"

namespace velkor {

class OffsetSurface final : public DrawingSurface {
  public:
    OffsetSurface(DrawingSurface& inner, int dx, int dy) : inner_(inner), dx_(dx), dy_(dy) {}

    std::optional<Seen> seen() const override;
    void setFont(int emHeight) override { inner_.setFont(emHeight); }
    void setLineWidth(int units) override { inner_.setLineWidth(units); }
    void segment(int x1, int y1, int x2, int y2) override;
    void polyline(const std::vector<Point>& points) override;
    void text(int x, int y, const std::string& text) override;
    void fillRect(int x, int y, int width, int height, std::uint32_t rgb) override;
    void image(double x, double y, double width, double height, const Image& image) override;
    void turnedText(int x, int y, double angle, const std::string& t, int emHeight) override;

  private:
    DrawingSurface& inner_;
    int dx_;
    int dy_;
};

}  // namespace velkor
