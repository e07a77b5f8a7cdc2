// Draws the field profile of a data set, on the screen or on a printed page.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "pictures/DrawingSurface.h"
#include "pictures/GraphScale.h"

namespace velkor {

class DataSet;

// The window the picture is made for: client size and scroll position, in pixels.
struct GraphWindow {
    int W;
    int H;
    int Sx;
    int Sy;
};

class GraphPainter {
  public:
    static constexpr int kScreenEm = 12;

    explicit GraphPainter(const DataSet& data);

    // The profile shows value(i) of each data line i instead of its measured field, under
    // another caption; a reading without a value is left out and its neighbours are
    // joined. An empty function brings the measured field back.
    using ProfileValue = std::function<std::optional<float>(int line)>;
    void setProfile(ProfileValue value, std::string caption);

    // Draws in document coordinates (the surface shifts them by the scroll position).
    // Returns the spacing used, with the zoom flags the screen sets.
    GraphScale::Spacing drawScreen(DrawingSurface& surface, const GraphWindow& window, float zoom);
    // The picture the window shows, scaled to the page width; page coordinates from
    // the top-left corner of the page's drawing rectangle.
    void drawPrinted(DrawingSurface& surface, const GraphWindow& window, float zoom, int pageWidth,
                     int pageHeight);

    class Mapper;

  private:
    // The readings whose marks may be seen, first to last.
    struct Range {
        int first;
        int last;
    };
    Range seenReadings(const DrawingSurface& surface, const Mapper& map) const;

    void readValues();
    void draw(DrawingSurface& surface, const Mapper& map);
    void drawSequence(DrawingSurface& surface, const Mapper& map) const;
    void drawFieldPart(DrawingSurface& surface, const Mapper& map);
    void drawSeparators(DrawingSurface& surface, const Mapper& map) const;
    void drawGradientPart(DrawingSurface& surface, const Mapper& map) const;
    void drawLabels(DrawingSurface& surface, const Mapper& map, const GraphScale::Axis& axis,
                    int axisX, int textX, const char* format) const;

    const DataSet& data_;
    int count_ = 0;
    Range seen_{0, -1};
    std::vector<float> field_;
    std::vector<float> gradient_;
    std::vector<unsigned char> isGradient_;  // bytes: quicker to set and test than bits
    std::vector<DrawingSurface::Point> polyline_;
    float fieldMin_ = 0, fieldMax_ = 0, gradMin_ = 0, gradMax_ = 0;
    bool hasGradient_ = false;
    ProfileValue profile_;
    std::string profileCaption_;
    std::vector<unsigned char> hasField_;
};

}  // namespace velkor
