// What the graph and the printed pages draw on: 1-unit black segments, single-line
// texts on white cells and filled rectangles, in integer device coordinates. Screen, printer and
// tests each supply one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velkor {

class DrawingSurface {
  public:
    struct Point {
        int x;
        int y;
    };

    // Where anything drawn can be seen at all, and how wide a character of the current
    // font can be.
    struct Seen {
        int left;
        int top;
        int right;
        int bottom;
        int widestCharacter;
    };

    virtual ~DrawingSurface() = default;

    // A painter may leave out what surely lies outside; nothing means all can be seen.
    virtual std::optional<Seen> seen() const { return std::nullopt; }

    // Selects the fixed-pitch font with this character (em) height for what follows.
    virtual void setFont(int emHeight) = 0;
    // Lines drawn from here on are this many device units wide (a printed page's weight);
    // a surface may keep them one unit wide.
    virtual void setLineWidth(int /*units*/) {}
    virtual void segment(int x1, int y1, int x2, int y2) = 0;
    // Connected segments from each point to the next: the same segments, in the same
    // order, as one segment() call per pair. A surface may draw them in one go.
    virtual void polyline(const std::vector<Point>& points) {
        for (std::size_t k = 1; k < points.size(); ++k) {
            segment(points[k - 1].x, points[k - 1].y, points[k].x, points[k].y);
        }
    }
    // Text with the top-left corner of its opaque white cell at (x, y).
    virtual void text(int x, int y, const std::string& text) = 0;
    // A rectangle of width x height filled with the colour 0xRRGGBB, without outline.
    // Only the plan map fills; a surface made for the line pictures may leave it out.
    virtual void fillRect(int /*x*/, int /*y*/, int /*width*/, int /*height*/,
                          std::uint32_t /*rgb*/) {}

    // A picture of pixels, rows from the top, each 0xAARRGGBB with its colour already
    // multiplied by its alpha (0: nothing there).
    struct Image {
        int width = 0;
        int height = 0;
        std::vector<std::uint32_t> pixels;
    };
    // The image stretched over the device rectangle from (x, y), width x height; smoothed
    // where it is enlarged. Only the gridded map draws one.
    virtual void image(double /*x*/, double /*y*/, double /*width*/, double /*height*/,
                       const Image& /*image*/) {}
    // Text on its white cell centred on (x, y), turned anticlockwise by angle degrees. A
    // surface that cannot turn text writes it level.
    virtual void turnedText(int x, int y, double /*angle*/, const std::string& t, int emHeight) {
        text(x - static_cast<int>(t.size()) * emHeight * 3 / 10, y - emHeight / 2, t);
    }
};

}  // namespace velkor
