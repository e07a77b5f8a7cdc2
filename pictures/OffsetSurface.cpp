// The moved drawing surface.
#include "pictures/OffsetSurface.h"

namespace velkor {

std::optional<DrawingSurface::Seen> OffsetSurface::seen() const {
    std::optional<Seen> s = inner_.seen();
    if (s) {
        s->left -= dx_;
        s->right -= dx_;
        s->top -= dy_;
        s->bottom -= dy_;
    }
    return s;
}

void OffsetSurface::segment(int x1, int y1, int x2, int y2) {
    inner_.segment(x1 + dx_, y1 + dy_, x2 + dx_, y2 + dy_);
}

void OffsetSurface::polyline(const std::vector<Point>& points) {
    std::vector<Point> moved = points;
    for (Point& p : moved) {
        p.x += dx_;
        p.y += dy_;
    }
    inner_.polyline(moved);
}

void OffsetSurface::text(int x, int y, const std::string& text) {
    inner_.text(x + dx_, y + dy_, text);
}

void OffsetSurface::fillRect(int x, int y, int width, int height, std::uint32_t rgb) {
    inner_.fillRect(x + dx_, y + dy_, width, height, rgb);
}

void OffsetSurface::image(double x, double y, double width, double height, const Image& image) {
    inner_.image(x + dx_, y + dy_, width, height, image);
}

void OffsetSurface::turnedText(int x, int y, double angle, const std::string& t, int emHeight) {
    inner_.turnedText(x + dx_, y + dy_, angle, t, emHeight);
}

}  // namespace velkor
