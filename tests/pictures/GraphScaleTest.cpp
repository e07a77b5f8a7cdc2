#include <gtest/gtest.h>

#include <vector>

#include "pictures/GraphScale.h"

namespace velkor {

TEST(GraphScale, SpacingExamples) {
    struct Case {
        int count;
        float zoom;
        int dx;
        bool in;
        bool out;
    };
    for (const Case& c : std::vector<Case>{
             {100, 1.0f, 9, true, true},
             {100, 32.0f, 288, true, true},
             {100, 64.0f, 300, false, true},
             {1000, 1.0f, 3, true, true},
             {1000, 0.5f, 1, true, true},
             {1000, 0.25f, 1, true, false},
             {16000, 1.0f, 1, false, true},
             {299, 1.0f, 9, true, true},
             {300, 1.0f, 3, true, true},
             {20000, 0.125f, 1, true, false},
             {20000, 2.0f, 1, false, true},
         }) {
        const GraphScale::Spacing s = GraphScale::spacing(c.count, c.zoom);
        EXPECT_EQ(s.dx, c.dx) << c.count << " at " << c.zoom;
        EXPECT_EQ(s.zoomInAllowed, c.in) << c.count << " at " << c.zoom;
        EXPECT_EQ(s.zoomOutAllowed, c.out) << c.count << " at " << c.zoom;
    }
}

TEST(GraphScale, NiceSpanTable) {
    struct Row {
        float max;  // minimum is 0, so r = 1.12 * max
        float span;
        float step;
    };
    for (const Row& r : std::vector<Row>{
             {0.0f, 5, 0.5f},
             {3.5f, 5, 0.5f},
             {3.6f, 10, 1},
             {8.9f, 10, 1},
             {9.0f, 50, 5},
             {35.0f, 50, 5},
             {36.0f, 100, 10},
             {89.0f, 100, 10},
             {90.0f, 500, 50},
             {355.0f, 500, 50},
             {356.0f, 1000, 100},
             {892.0f, 1000, 100},
             {893.0f, 5000, 500},
             {3554.0f, 5000, 500},
             {3555.0f, 10000, 1000},
             {8928.0f, 10000, 1000},
             {8929.0f, 50000, 5000},
             {35545.0f, 50000, 5000},
             {35546.0f, 100000, 10000},
             {89285.0f, 100000, 10000},
             {89286.0f, 500000, 50000},
             {5e6f, 500000, 50000},
         }) {
        const GraphScale::Axis a = GraphScale::axis(0.0f, r.max);
        EXPECT_EQ(a.span, r.span) << r.max;
        EXPECT_EQ(a.step, r.step) << r.max;
        EXPECT_EQ(a.bottom, 0.0f) << r.max;
    }
}

TEST(GraphScale, WorkedExamples) {
    const GraphScale::Axis field = GraphScale::axis(48000.0f, 52000.0f);
    EXPECT_EQ(field.span, 10000.0f);
    EXPECT_EQ(field.step, 1000.0f);
    EXPECT_EQ(field.bottom, 48000.0f);
    EXPECT_EQ(field.top, 58000.0f);
    EXPECT_EQ(GraphScale::labelValues(field),
              (std::vector<float>{49000, 50000, 51000, 52000, 53000, 54000, 55000, 56000}));

    const GraphScale::Axis grad = GraphScale::axis(-3.2f, 12.5f);
    EXPECT_EQ(grad.span, 50.0f);
    EXPECT_EQ(grad.step, 5.0f);
    EXPECT_EQ(grad.bottom, -5.0f);
    EXPECT_EQ(grad.top, 45.0f);

    // One value: span 5 around the value rounded down to a multiple of 0.5.
    const GraphScale::Axis single = GraphScale::axis(48123.4f, 48123.4f);
    EXPECT_EQ(single.span, 5.0f);
    EXPECT_EQ(single.bottom, 48123.0f);
    EXPECT_EQ(GraphScale::labelValues(single).size(), 8u);

    // Ordinates: the top maps to 0, the bottom to the baseline.
    EXPECT_EQ(GraphScale::y(field, 58000.0f, 400), 0);
    EXPECT_EQ(GraphScale::y(field, 48000.0f, 400), 400);
    EXPECT_EQ(GraphScale::y(field, 49000.0f, 400), 360);
}

TEST(GraphScale, ExtremeValuesNeitherHangNorOverflow) {
    const GraphScale::Axis huge = GraphScale::axis(-3e38f, 3e38f);  // the span overflows
    EXPECT_EQ(huge.span, 5.0f);
    EXPECT_LE(GraphScale::labelValues(huge).size(), 8u);
    const GraphScale::Axis far = GraphScale::axis(1e30f, 1e30f);
    EXPECT_LE(GraphScale::labelValues(far).size(), 8u);
    const GraphScale::Axis wide = GraphScale::axis(0.0f, 1e30f);
    const int y = GraphScale::y(wide, 1e30f, 400);
    EXPECT_LT(y, 0);
    EXPECT_GT(y, -100000000);
}

}  // namespace velkor
