// The line profiles' legend fits the page it is printed on.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "pictures/LineProfilePages.h"
#include "pictures/LineProfilePainter.h"
#include "support/RecordingSurface.h"

namespace velkor {

TEST(LineProfileLegend, FitsTheWidthOfAnA4PageAndOfANarrowPicture) {
    constexpr float kNone = std::numeric_limits<float>::quiet_NaN();
    std::vector<LineProfileSet::Point> points;
    for (int k = 0; k < 20; ++k) {
        points.push_back({k, k * 0.5, {48000.0f + k, kNone, kNone, kNone}, {}});
    }
    const auto set = std::make_shared<LineProfileSet>(
        std::vector<LineProfileSet::Line>{{1.0, std::move(points)}});
    LineProfilePainter painter(set);
    painter.setLines({0});
    // A4 portrait at 300 dpi within 10 mm margins, as the PDFs are written; and narrower.
    for (const int width : {2244, 1200}) {
        const int height = 3272;
        RecordingSurface page;
        LineProfilePages::drawPage(page, painter, false, "Survey s", 1, width, height, 1);
        const RecordingSurface::Text* legend = page.findText(LineProfilePainter::kLegend);
        ASSERT_NE(legend, nullptr);
        // The legend is the last text, in the last font set.
        const double right = legend->x + std::strlen(LineProfilePainter::kLegend) *
                                             LineProfilePainter::kCharWidth * page.fonts.back();
        EXPECT_LE(right, width) << "page " << width << " wide";
        EXPECT_GE(page.fonts.back(), LineProfilePages::em(height) / 3) << "still legible";
    }
}

}  // namespace velkor
