// The printed survey map: turned to the survey's shape, filled by the map, lines at print
// weight, and a title block that says how the map was made.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "pictures/SurveyPage.h"
#include "support/RecordingSurface.h"
#include "survey/Survey.h"

namespace velkor {
namespace {

// Records the line width every segment is drawn with.
class WeighedSurface : public RecordingSurface {
  public:
    void setLineWidth(int units) override { width = units; }
    void segment(int x1, int y1, int x2, int y2) override {
        RecordingSurface::segment(x1, y1, x2, y2);
        widths.push_back(width);
    }
    int width = 1;
    std::vector<int> widths;
};

// Readings on lines 1 m apart, across columns x rows metres.
SurveyMapPainter readingsOver(int columns, int rows) {
    std::vector<SurveyMapPainter::Dot> dots;
    for (int i = 0; i <= columns; ++i) {
        for (int j = 0; j <= rows; j += 2) {
            dots.push_back({static_cast<int>(dots.size()),
                            500000.0 + i,
                            6200000.0 + j,
                            {48000.0f, 10.0f, 5.0f, 0.0f}});
        }
    }
    return SurveyMapPainter(std::move(dots));
}

Survey week(RegionalTrend::Kind regional) {
    SurveySettings s;
    s.days = {std::string(VELKOR_SAMPLES) + "/week.velkor"};
    s.epsg = 32633;
    s.gridding.regional = regional;
    std::string message;
    auto survey = Survey::open(s, message);
    EXPECT_TRUE(survey) << message;
    return std::move(*survey);
}

// N of the title block's "Scale 1:N", and the width the readings' dots span.
struct DrawnScale {
    long long n = 0;
    int span = 0;
};

DrawnScale drawnScale(const SurveyPage::Map& map) {
    RecordingSurface page;
    SurveyPage::draw(page, 3272, 2244, 300.0, map);
    DrawnScale d;
    for (const std::string& t : page.textsOnly()) {
        if (t.rfind("Scale 1:", 0) == 0) {
            d.n = std::stoll(t.substr(8));
        }
    }
    int left = 1 << 30;
    int right = 0;
    for (const RecordingSurface::Fill& f : page.fills) {
        if (f.width == 5 || f.width == 3) {  // a reading's dot
            left = std::min(left, f.x);
            right = std::max(right, f.x);
        }
    }
    d.span = right - left;
    return d;
}

}  // namespace

TEST(SurveyPage, AskedForAStandardScaleTheMapIsDrawnAtTheNextOneDown) {
    for (const auto& [n, standard] :
         std::vector<std::pair<double, long long>>{{3.0, 10},
                                                   {999.2, 1000},
                                                   {1000.0, 1000},
                                                   {1000.4, 1250},
                                                   {1300.0, 2000},
                                                   {2100.0, 2500},
                                                   {2600.0, 5000},
                                                   {7000.0, 10000},
                                                   {123456.0, 125000},
                                                   {130000.0, 200000}}) {
        EXPECT_EQ(SurveyPage::standardScale(n), standard) << n;
    }
    const Survey survey = week(RegionalTrend::Kind::None);
    const SurveyMapPainter wide = readingsOver(300, 100);
    SurveyPage::Map map{&survey,
                        "w",
                        &wide,
                        nullptr,
                        {true, false, false, false},
                        SurveyMapPainter::Value::Anomaly};
    const DrawnScale fitted = drawnScale(map);
    map.standardScale = true;
    const DrawnScale standard = drawnScale(map);
    EXPECT_EQ(standard.n, SurveyPage::standardScale(double(fitted.n)));
    EXPECT_GT(standard.n, fitted.n);
    // The map is that much smaller on the page.
    EXPECT_NEAR(double(standard.span) / fitted.span, double(fitted.n) / standard.n, 0.01);
}

TEST(SurveyPage, TurnedToTheSurveysShape) {
    const Survey survey = week(RegionalTrend::Kind::None);
    const SurveyMapPainter wide = readingsOver(300, 100);
    const SurveyMapPainter tall = readingsOver(60, 200);
    const SurveyPicture::Layers readings{true, false, false, false};
    EXPECT_TRUE(SurveyPage::landscape(
        {&survey, "w", &wide, nullptr, readings, SurveyMapPainter::Value::Anomaly}));
    EXPECT_FALSE(SurveyPage::landscape(
        {&survey, "t", &tall, nullptr, readings, SurveyMapPainter::Value::Anomaly}));
}

TEST(SurveyPage, TheMapFillsThePageAtPrintWeightUnderAFullTitleBlock) {
    const Survey survey = week(RegionalTrend::Kind::Plane);
    const std::atomic<bool> cancel{false};
    const SurveyGridding::Result result = SurveyGridding::run(
        survey, SurveyGridding::What::Anomaly, survey.settings().gridding.options(), 0.0, cancel);
    const GridLayerPainter grid(result, GridStretch::Choice());
    const SurveyMapPainter readings = SurveyMapPainter::build(survey);
    const SurveyPage::Map map{&survey,
                              "week",
                              &readings,
                              &grid,
                              {true, true, false, true},
                              SurveyMapPainter::Value::Anomaly};
    // A4 within 10 mm margins at 300 dots per inch, turned as the survey asks.
    const bool turned = SurveyPage::landscape(map);
    const int width = turned ? 3272 : 2244;
    const int height = turned ? 2244 : 3272;
    WeighedSurface page;
    SurveyPage::draw(page, width, height, 300.0, map);

    ASSERT_FALSE(page.widths.empty());
    // Half a point at 300 dpi is 2.08 dots: every line at least that.
    EXPECT_GE(*std::min_element(page.widths.begin(), page.widths.end()), 3);
    const std::vector<std::string> texts = page.textsOnly();
    for (const std::string& part :
         {std::string("Survey week"), std::string("Gridded: anomaly"),
          std::string("Regional removed: plane"), std::string("Scale 1:"),
          std::string("(EPSG:32633)"), std::string("Contour interval "), std::string("tension ")}) {
        EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [&part](const std::string& t) {
            return t.find(part) != std::string::npos;
        })) << part;
    }
    // Every text within the page.
    for (const RecordingSurface::Text& t : page.texts) {
        EXPECT_LE(t.x + static_cast<int>(t.text.size()) * page.fonts.back() * 6 / 10 - 1,
                  width + page.fonts.front())
            << t.text;
    }
    // The map's frame, the widest box drawn below the title block, fills most of the page.
    int left = width;
    int right = 0;
    for (const RecordingSurface::Segment& s : page.segments) {
        if (s.y1 == s.y2 && s.y1 > height / 5) {
            left = std::min({left, s.x1, s.x2});
            right = std::max({right, s.x1, s.x2});
        }
    }
    EXPECT_GE(right - left, width * 6 / 10);
}

}  // namespace velkor
