// The drawing surface over a QPainter, for the screen and the printer alike.
#pragma once

#include "views/DrawingSurface.h"

class QPainter;

namespace velkor {

class QPainterSurface : public DrawingSurface {
  public:
    // Draws with painter until destroyed; the painter's font and pen are restored then.
    explicit QPainterSurface(QPainter& painter);
    ~QPainterSurface() override;
    QPainterSurface(const QPainterSurface&) = delete;
    QPainterSurface& operator=(const QPainterSurface&) = delete;

    void setFont(int emHeight) override;
    void segment(int x1, int y1, int x2, int y2) override;
    void text(int x, int y, const std::string& text) override;
    void fillRect(int x, int y, int width, int height, std::uint32_t rgb) override;

  private:
    QPainter& painter_;
};

}  // namespace velkor
