// Pictures as PNG files, drawn offscreen with the toolkit's painter.
#pragma once

#include "views/PictureWriter.h"

namespace velkor {

class PngPictureWriter : public PictureWriter {
  public:
    bool writePng(const std::string& path, int width, int height,
                  const std::function<void(DrawingSurface&)>& draw) override;
};

}  // namespace velkor
