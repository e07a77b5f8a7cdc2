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

    // Draws one page, numbered from 1, of width x height device units.
    using PageDrawer = std::function<void(DrawingSurface&, int width, int height, int page)>;
    // Draws pageCount white A4 pages and writes them to path as one PDF document; false
    // when it cannot be written, and always from a writer that makes no documents.
    virtual bool writePdf(const std::string& path, int pageCount, const PageDrawer& drawPage) {
        (void)path;
        (void)pageCount;
        (void)drawPage;
        return false;
    }
    // The same on A4 pages turned to landscape.
    virtual bool writeLandscapePdf(const std::string& path, int pageCount,
                                   const PageDrawer& drawPage) {
        (void)path;
        (void)pageCount;
        (void)drawPage;
        return false;
    }
    // Dots per inch of the pages' device units.
    static constexpr int kPdfDotsPerInch = 300;
};

}  // namespace velkor
