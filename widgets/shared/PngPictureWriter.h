// Pictures as PNG files and pages as PDF documents, drawn offscreen with the toolkit's
// painter.
#pragma once

#include <functional>
#include <string>

#include "pictures/PictureWriter.h"

class QPainter;

namespace velkor {

class PngPictureWriter : public PictureWriter {
  public:
    bool writePng(const std::string& path, int width, int height,
                  const std::function<void(DrawingSurface&)>& draw) override;
    bool writePdf(const std::string& path, int pageCount, const PageDrawer& drawPage) override;
    bool writeLandscapePdf(const std::string& path, int pageCount,
                           const PageDrawer& drawPage) override;

    static constexpr int kPdfResolution = kPdfDotsPerInch;  // of the PDF's coordinates

    // Draws pageCount white A4 pages within 10 mm margins at kPdfResolution and writes them
    // to path as one PDF document: the tool's documents and the windows' Print to PDF.
    using PagePainter = std::function<void(QPainter&, int width, int height, int page)>;
    static bool writePages(const std::string& path, int pageCount, bool landscape,
                           const PagePainter& paint);
};

}  // namespace velkor
