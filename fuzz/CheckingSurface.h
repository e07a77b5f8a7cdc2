// A drawing surface for the fuzz targets that stops the run when a picture hands it a
// coordinate no screen or page can hold, and counts what it was given.
#pragma once

#include <cstdint>
#include <string>

#include "pictures/DrawingSurface.h"

namespace velkor {

class CheckingSurface : public DrawingSurface {
  public:
    void setFont(int em) override;
    void segment(int x1, int y1, int x2, int y2) override;
    void text(int x, int y, const std::string& text) override;
    void fillRect(int x, int y, int width, int height, std::uint32_t rgb) override;

    long long segments = 0;
    long long texts = 0;
    long long fills = 0;

  private:
    static void check(int c);
};

}  // namespace velkor
