// The printed survey map page.
#include "pictures/SurveyPage.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "pictures/OffsetSurface.h"
#include "pictures/SurveyTitleBlock.h"

namespace velkor {
namespace {

constexpr double kPointsPerInch = 72.0;
constexpr double kMetresPerInch = 0.0254;
// A4 within 10 mm margins, in tenths of a millimetre: the shape the page is chosen for.
constexpr int kShortSide = 1900;
constexpr int kLongSide = 2770;

const SurveyGridding::Result* griddedOf(const SurveyPage::Map& map) {
    return SurveyPicture::showsGrid(map.grid, map.layers) ? map.grid->result() : nullptr;
}

std::vector<std::string> titleOf(const SurveyPage::Map& map, long long scale) {
    return SurveyTitleBlock::lines(*map.survey, map.name, griddedOf(map), map.value, scale);
}

}  // namespace

int SurveyPage::em(int width, int height) {
    return std::max(SurveyMapPainter::kScreenEm, std::max(width, height) / 70);
}

int SurveyPage::lineWidth(double dotsPerInch) {
    return std::max(1, static_cast<int>(std::ceil(kLinePoints * dotsPerInch / kPointsPerInch)));
}

long long SurveyPage::scale(const SurveyMapGeometry::Transform& t, double dotsPerInch) {
    const double dotsPerMetre = dotsPerInch / kMetresPerInch;
    return std::llround(dotsPerMetre / t.pixelsPerMetre());
}

long long SurveyPage::standardScale(double n) {
    const double decade = std::pow(10.0, std::floor(std::log10(std::max(n, 10.0))));
    for (const double step : {1.0, 1.25, 2.0, 2.5, 5.0, 10.0}) {
        // A hair of tolerance: a 1:1000 map computed as 1:1000.0000001 stays at 1:1000.
        if (step * decade >= n * (1.0 - 1e-9)) {
            return std::llround(step * decade);
        }
    }
    return std::llround(10.0 * decade);
}

double SurveyPage::mapScaleOn(const Map& map, int width, int height) {
    const int e = em(width, height);
    const std::vector<std::string> title = titleOf(map, 1);
    const int top =
        SurveyTitleBlock::height(title, SurveyTitleBlock::fittedEm(title, width, e)) + e;
    return SurveyPicture::transform(width, height - top, e, *map.readings, map.grid, map.layers)
        .pixelsPerMetre();
}

bool SurveyPage::landscape(const Map& map) {
    return mapScaleOn(map, kLongSide, kShortSide) > mapScaleOn(map, kShortSide, kLongSide);
}

void SurveyPage::draw(DrawingSurface& s, int width, int height, double dotsPerInch,
                      const Map& map) {
    const int e = em(width, height);
    // The block's size first (the scale's digits do not change its lines), then the map
    // below it, then the block with the map's scale.
    const int titleEm = SurveyTitleBlock::fittedEm(titleOf(map, 1), width, e);
    const int top = SurveyTitleBlock::height(titleOf(map, 1), titleEm) + e;
    const SurveyMapGeometry::Transform fitted =
        SurveyPicture::transform(width, height - top, e, *map.readings, map.grid, map.layers);
    const double n = dotsPerInch / kMetresPerInch / fitted.pixelsPerMetre();
    const double shrink = map.standardScale ? n / double(standardScale(n)) : 1.0;
    const SurveyMapGeometry::Transform t = SurveyPicture::transform(
        width, height - top, e, *map.readings, map.grid, map.layers, shrink);
    const std::vector<std::string> title = titleOf(map, scale(t, dotsPerInch));
    s.setLineWidth(lineWidth(dotsPerInch));
    SurveyTitleBlock::draw(s, width, title,
                           std::min(titleEm, SurveyTitleBlock::fittedEm(title, width, e)));
    OffsetSurface below(s, 0, top);
    SurveyPicture::draw(below, width, height - top, *map.readings, map.grid, map.layers, map.value,
                        e, shrink);
}

}  // namespace velkor
