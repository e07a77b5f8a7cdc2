// Pictures as PNG files and pages as PDF documents, drawn offscreen with the toolkit's
// painter.
#pragma once

#include "pictures/PictureWriter.h"

namespace velkor {

class PngPictureWriter : public PictureWriter {
  public:
    bool writePng(const std::string& path, int width, int height,
                  const std::function<void(DrawingSurface&)>& draw) override;
    bool writePdf(const std::string& path, int pageCount, const PageDrawer& drawPage) override;

    static constexpr int kPdfResolution = 300;  // dots per inch of the PDF's coordinates
};

}  // namespace velkor
