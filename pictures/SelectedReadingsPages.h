// The printed pages of the readings selected in the data list: 40 to a page.
#pragma once

#include <string>
#include <vector>

namespace velkor {

class DataSet;
class DrawingSurface;

class SelectedReadingsPages {
  public:
    static constexpr int kLinesPerPage = 40;
    static constexpr const char* kNothingSelected = "No items were selected";

    // Pages for this many selected readings; 40 fill exactly one page.
    static int pageCount(int selected);
    // Distance between two printed lines on a page this many device units high.
    static int linePitch(int pageHeight);
    static std::string header(const std::string& title, int page);
    // The printed line of list row r: its number, two blanks, the data line as stored.
    static std::string readingLine(const DataSet& data, int row);

    // Draws page (from 1) of the given list rows (increasing).
    static void drawPage(DrawingSurface& surface, const DataSet& data, const std::vector<int>& rows,
                         const std::string& title, int pageHeight, int page);
};

}  // namespace velkor
