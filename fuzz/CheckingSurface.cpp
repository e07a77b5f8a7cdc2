// The fuzz targets' drawing surface.
#include "fuzz/CheckingSurface.h"

#include <cstdlib>

#include "fuzz/FuzzPrompter.h"

namespace velkor {

void CheckingSurface::setFont(int em) {
    FuzzPrompter::require(em >= 0, "a font height of pixels");
}

void CheckingSurface::segment(int x1, int y1, int x2, int y2) {
    check(x1);
    check(y1);
    check(x2);
    check(y2);
    ++segments;
}

void CheckingSurface::text(int x, int y, const std::string&) {
    check(x);
    check(y);
    ++texts;
}

void CheckingSurface::fillRect(int x, int y, int width, int height, std::uint32_t rgb) {
    check(x);
    check(y);
    check(width);
    check(height);
    FuzzPrompter::require(width >= 0 && height >= 0, "a rectangle of no negative size");
    FuzzPrompter::require(rgb <= 0xFFFFFFu, "a colour of 0xRRGGBB");
    ++fills;
}

void CheckingSurface::check(int c) {
    FuzzPrompter::require(std::abs(static_cast<long long>(c)) <= 20000000LL,
                          "a coordinate within +-2*10^7");
}

}  // namespace velkor
