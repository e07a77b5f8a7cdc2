// The drawing surface over a QPainter, for the screen and the printer alike.
#pragma once

#include <QFont>
#include <QLine>
#include <QList>
#include <QRect>

#include "pictures/DrawingSurface.h"

class QPainter;

namespace velkor {

class QPainterSurface final : public DrawingSurface {
  public:
    // Draws with painter until destroyed; the painter's font and pen are restored then.
    explicit QPainterSurface(QPainter& painter);
    ~QPainterSurface() override;
    QPainterSurface(const QPainterSurface&) = delete;
    QPainterSurface& operator=(const QPainterSurface&) = delete;

    // The part of the surface that can show anything, in drawing coordinates. Lines and
    // texts that lie wholly outside it are not handed to the painter, which would clip
    // them away anyway. Without it everything is handed over.
    void setVisibleArea(const QRect& area);
    // The pictures' font: a fixed-pitch face emHeight pixels high (at least 1).
    static QFont font(int emHeight);

    std::optional<Seen> seen() const override;
    void setFont(int emHeight) override;
    void setLineWidth(int units) override;
    void segment(int x1, int y1, int x2, int y2) override;
    void polyline(const std::vector<Point>& points) override;
    void text(int x, int y, const std::string& text) override;
    void fillRect(int x, int y, int width, int height, std::uint32_t rgb) override;
    void image(double x, double y, double width, double height, const Image& image) override;
    void turnedText(int x, int y, double angle, const std::string& text, int emHeight) override;

  private:
    bool outside(int x1, int y1, int x2, int y2) const;
    void flushLines();

    QPainter& painter_;
    bool culling_ = false;
    QRect area_;
    int ascent_ = 0;
    int cellHeight_ = 0;
    int widestCharacter_ = 0;
    QList<QLine> lines_;
};

}  // namespace velkor
