// Pages of selected readings.
#include "pictures/SelectedReadingsPages.h"

#include "data/DataSet.h"
#include "pictures/DrawingSurface.h"
#include "text/TextFormat.h"

namespace velkor {

int SelectedReadingsPages::pageCount(int selected) {
    return selected <= 0 ? 0 : (selected + kLinesPerPage - 1) / kLinesPerPage;
}

int SelectedReadingsPages::linePitch(int pageHeight) {
    return (pageHeight * 19) / (40 * 20);
}

std::string SelectedReadingsPages::header(const std::string& title, int page) {
    return formatText("Velkor1 Data - selected items,  file %s - page %d", title.c_str(), page);
}

std::string SelectedReadingsPages::readingLine(const DataSet& data, int row) {
    const int line = row + 1;
    std::string text = formatText("%5d  ", line);
    if (line < data.lineCount()) {
        text += data.line(line);  // as stored, whatever it holds
    }
    return text;
}

void SelectedReadingsPages::drawPage(DrawingSurface& surface, const DataSet& data,
                                     const std::vector<int>& rows, const std::string& title,
                                     int pageHeight, int page) {
    const int h = linePitch(pageHeight);
    surface.setFont(h / 2);
    surface.text(0, h, header(title, page));
    for (int i = 0; i < kLinesPerPage; ++i) {
        const std::size_t k = static_cast<std::size_t>((page - 1) * kLinesPerPage + i);
        if (k < rows.size()) {
            surface.text(0, 2 * h + i * h, readingLine(data, rows[k]));
        }
    }
}

}  // namespace velkor
