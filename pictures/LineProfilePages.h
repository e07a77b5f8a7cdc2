// The printed profiles: every line of the survey, a number of lines to a page, stacked in
// one picture or each in its own picture one under the other, as the window shows them.
#pragma once

#include <string>

#include "pictures/LineProfilePainter.h"

namespace velkor {

class DrawingSurface;

class LineProfilePages {
  public:
    static constexpr int kLinesPerPage = 4;

    static int pageCount(int lines, int perPage);
    // The character height on a page this many device units high.
    static int em(int pageHeight);
    // "Survey - week   Page 2 of 10   Lines 5 to 8".
    static std::string header(const std::string& title, const LineProfileSet& set, int perPage,
                              int page);

    // Draws page (from 1) with the value, offset and candidates of shown.
    static void drawPage(DrawingSurface& surface, const LineProfilePainter& shown, bool stacked,
                         const std::string& title, int perPage, int width, int height, int page);
};

}  // namespace velkor
