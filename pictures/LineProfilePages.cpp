// Profile pages.
#include "pictures/LineProfilePages.h"

#include <algorithm>
#include <vector>

#include "pictures/DrawingSurface.h"
#include "text/LineTitle.h"
#include "text/TextFormat.h"

namespace velkor {
namespace {

struct Span {
    int first;
    int end;
};

Span linesOf(int lines, int perPage, int page) {
    const int first = (page - 1) * perPage;
    return {first, std::min(lines, first + perPage)};
}

}  // namespace

int LineProfilePages::pageCount(int lines, int perPage) {
    if (lines <= 0 || perPage <= 0) {
        return 0;
    }
    return (lines + perPage - 1) / perPage;
}

int LineProfilePages::em(int pageHeight) {
    return std::max(8, pageHeight / 90);
}

std::string LineProfilePages::header(const std::string& title, const LineProfileSet& set,
                                     int perPage, int page) {
    const Span span = linesOf(set.lineCount(), perPage, page);
    std::string text =
        formatText("%s   Page %d of %d", title.c_str(), page, pageCount(set.lineCount(), perPage));
    if (span.first < span.end) {
        text += formatText(
            "   %s to %g",
            LineTitle::of(set.line(span.first).number, LineTitle::Form::SixDigits).c_str(),
            set.line(span.end - 1).number);
    }
    return text;
}

void LineProfilePages::drawPage(DrawingSurface& surface, const LineProfilePainter& shown,
                                bool stacked, const std::string& title, int perPage, int width,
                                int height, int page) {
    const int e = em(height);
    surface.setFont(e);
    surface.text(0, 0, header(title, shown.set(), perPage, page));
    const Span span = linesOf(shown.set().lineCount(), perPage, page);
    const int top = 2 * e;
    const int room = height - top;
    LineProfilePainter painter = shown;
    if (stacked) {
        std::vector<int> lines;
        for (int k = span.first; k < span.end; ++k) {
            lines.push_back(k);
        }
        painter.setLines(std::move(lines));
        painter.draw(surface, {0, top, width, room}, e);
        return;
    }
    // The legend once, under the last picture.
    const int each = room / std::max(1, perPage);
    for (int k = span.first; k < span.end; ++k) {
        painter.setLines({k});
        painter.draw(surface, {0, top + (k - span.first) * each, width, each}, e,
                     k + 1 == span.end);
    }
}

}  // namespace velkor
