// Writes a picture drawn through the drawing surface to an image file; the tool and the
// pictures know no image format, the program's toolkit does.
#pragma once

#include <functional>
#include <string>

namespace velkor {

class DrawingSurface;

class PictureWriter {
  public:
    virtual ~PictureWriter() = default;
    // Draws on a white picture of width x height and writes it to path as PNG; false
    // when it cannot be written.
    virtual bool writePng(const std::string& path, int width, int height,
                          const std::function<void(DrawingSurface&)>& draw) = 0;
};

}  // namespace velkor
