// Draws what the tool asks for on a recording surface instead of an image; writes nothing.
#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "pictures/PictureWriter.h"
#include "support/RecordingSurface.h"

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
    // Pages as an A4 page at 300 dpi would hold them, each on its own surface.
    bool writePdf(const std::string& path, int pageCount, const PageDrawer& drawPage) override {
        this->path = path;
        size = "2244x3272";
        pages.clear();
        pages.resize(static_cast<std::size_t>(std::max(0, pageCount)));
        for (int p = 1; p <= pageCount; ++p) {
            drawPage(pages[static_cast<std::size_t>(p - 1)], 2244, 3272, p);
        }
        return pageCount > 0;
    }
    std::string path;
    std::string size;
    RecordingSurface surface;
    std::vector<RecordingSurface> pages;
};

}  // namespace velkor
