// Draws what the tool asks for on a recording surface instead of an image; writes nothing.
#pragma once

#include <functional>
#include <string>

#include "support/RecordingSurface.h"
#include "views/PictureWriter.h"

namespace velkor {

class RecordingPictures : public PictureWriter {
  public:
    bool writePng(const std::string& path, int width, int height,
                  const std::function<void(DrawingSurface&)>& draw) override {
        this->path = path;
        size = std::to_string(width) + "x" + std::to_string(height);
        draw(surface);
        return true;
    }
    std::string path;
    std::string size;
    RecordingSurface surface;
};

}  // namespace velkor
