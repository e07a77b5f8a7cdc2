// A view that can be printed: it says how many pages, then draws each.
#pragma once

#include <optional>

class QPainter;

namespace velkor {

class Printable {
  public:
    virtual ~Printable() = default;
    // Runs before any dialog; 0 pages cancels the printing.
    virtual int preparePrinting() = 0;
    // Page from 1, on a drawing rectangle of width x height device units.
    virtual void printPage(QPainter& painter, int width, int height, int page) = 0;
    // After preparePrinting: true for landscape pages, false for portrait, nothing to
    // keep the printer's own.
    virtual std::optional<bool> landscape() { return std::nullopt; }
};

}  // namespace velkor
