// A drawing surface that records what is drawn, for exact checks of coordinates.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pictures/DrawingSurface.h"

namespace velkor {

class RecordingSurface : public DrawingSurface {
  public:
    struct Segment {
        int x1, y1, x2, y2;
        bool operator==(const Segment& o) const {
            return x1 == o.x1 && y1 == o.y1 && x2 == o.x2 && y2 == o.y2;
        }
    };
    struct Text {
        int x, y;
        std::string text;
        bool operator==(const Text& o) const { return x == o.x && y == o.y && text == o.text; }
    };

    struct Fill {
        int x, y, width, height;
        std::uint32_t rgb;
    };

    struct Picture {
        double x, y, width, height;
        Image image;
    };
    struct TurnedText {
        int x, y;
        double angle;
        std::string text;
    };

    void setFont(int emHeight) override { fonts.push_back(emHeight); }
    void segment(int x1, int y1, int x2, int y2) override { segments.push_back({x1, y1, x2, y2}); }
    void text(int x, int y, const std::string& t) override { texts.push_back({x, y, t}); }
    void fillRect(int x, int y, int w, int h, std::uint32_t rgb) override {
        fills.push_back({x, y, w, h, rgb});
    }
    void image(double x, double y, double w, double h, const Image& i) override {
        pictures.push_back({x, y, w, h, i});
    }
    void turnedText(int x, int y, double angle, const std::string& t, int /*em*/) override {
        turnedTexts.push_back({x, y, angle, t});
    }

    bool hasSegment(const Segment& s) const;
    // The first text with these characters, or nullptr.
    const Text* findText(const std::string& t) const;
    std::vector<std::string> textsOnly() const;

    std::vector<int> fonts;
    std::vector<Segment> segments;
    std::vector<Text> texts;
    std::vector<Fill> fills;
    std::vector<Picture> pictures;
    std::vector<TurnedText> turnedTexts;
};

}  // namespace velkor
