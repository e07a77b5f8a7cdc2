// survey transform, and contours and plot with --transform: the grid the tool writes is
// the transform of the survey's own grid, the direction it takes is told, refusals say why.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "support/TempDir.h"
#include "support/ToolRun.h"
#include "survey/GridFile.h"
#include "survey/MainFieldDirection.h"
#include "survey/Survey.h"
#include "survey/TransformedGridding.h"

namespace velkor {
namespace {

ToolRun transformRun(std::vector<std::string> args) {
    args.insert(args.begin(), "survey");
    return tool(args);
}

// The week's readings placed 0.5 m apart on 1 m lines in UTM zone 33N.
std::string transformSurvey(TempDir& dir) {
    const std::string file = dir.path("t.vsurvey");
    EXPECT_EQ(transformRun({"new", file}).status, 0);
    EXPECT_EQ(transformRun({"add", file, std::string(VELKOR_SAMPLES) + "/week.velkor"}).status, 0);
    EXPECT_EQ(transformRun({"place", file, "--origin", "500000,5300000", "--azimuth", "0",
                            "--line-spacing", "1", "--station-interval", "0.5"})
                  .status,
              0);
    EXPECT_EQ(transformRun({"set", file, "--crs", "EPSG:32633", "--normal", "48000"}).status, 0);
    return file;
}

// The survey's grid transformed in process, as the tool is to do it.
TransformedGridding::Result transformInProcess(const std::string& file,
                                               const TransformedGridding::Asked& asked) {
    const std::optional<Survey> s = surveyRead(file);
    const std::atomic<bool> never{false};
    const SurveySettings::Gridding g = s->settings().gridding;
    const SurveyGridding::Result gridded = SurveyGridding::run(*s, g.what, g.options(), 0.0, never);
    std::string message;
    const auto t = TransformedGridding::run(*s, gridded, asked, message);
    EXPECT_TRUE(t) << message;
    return *t;
}

}  // namespace

TEST(SurveyTransform, TheGridWrittenIsTheSurveysGridTransformedWithItsUnit) {
    TempDir dir;
    const std::string file = transformSurvey(dir);
    const ToolRun r = transformRun({"transform", file, dir.path("dz.asc"), "--kind", "dz"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("padded to "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("cosine taper over "), std::string::npos) << r.out;
    TransformedGridding::Asked asked;
    asked.parameters.kind = GridTransform::Kind::Dz;
    const TransformedGridding::Result expected = transformInProcess(file, asked);
    std::string message;
    ASSERT_TRUE(GridFile::write(expected.gridding.gridded.grid, nullptr,
                                GridFile::Format::EsriAscii, dir.path("expected.asc"), message,
                                "nT/m"))
        << message;
    EXPECT_EQ(TempDir::read(dir.path("dz.asc")), TempDir::read(dir.path("expected.asc")));
    EXPECT_NE(TempDir::read(dir.path("dz.asc.aux.xml")).find("<UnitType>nT/m</UnitType>"),
              std::string::npos);
}

TEST(SurveyTransform, ReductionToThePoleTellsTheDirectionIgrfGives) {
    TempDir dir;
    const std::string file = transformSurvey(dir);
    const ToolRun r = transformRun({"transform", file, dir.path("rtp.tif"), "--kind", "rtp"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::string message;
    const std::optional<Survey> s = Survey::read(file, message);
    ASSERT_TRUE(s) << message;
    const auto igrf = MainFieldDirection::of(*s, message);
    ASSERT_TRUE(igrf) << message;
    const std::string told = MainFieldDirection::describe(*igrf);
    EXPECT_NE(r.out.find(told.substr(told.find("IGRF-14"))), std::string::npos) << r.out;
    const std::string field = "field inclination " + told.substr(12, told.find(" (") - 12);
    EXPECT_NE(r.out.find(field + " (IGRF-14"), std::string::npos) << r.out;

    const ToolRun tilt = transformRun(
        {"contours", file, dir.path("tilt.gpkg"), "--transform", "tilt", "--interval", "15"});
    EXPECT_EQ(tilt.status, 0) << tilt.err;
    EXPECT_NE(tilt.out.find("contours: every 15 degrees"), std::string::npos) << tilt.out;
}

TEST(SurveyTransform, RefusalsInPlainWords) {
    TempDir dir;
    const std::string file = transformSurvey(dir);
    const std::string out = dir.path("x.tif");
    const ToolRun deep =
        transformRun({"transform", file, out, "--kind", "continue", "--height", "-1"});
    EXPECT_EQ(deep.status, 1);
    EXPECT_NE(deep.err.find("deeper than twice the cell (0.5 m)"), std::string::npos) << deep.err;
    const ToolRun flat = transformRun({"transform", file, out, "--kind", "rtp", "--inclination",
                                       "0", "--declination", "5", "--rtp-limit-inclination", "0"});
    EXPECT_EQ(flat.status, 1);
    EXPECT_NE(flat.err.find("inclination of 0 cannot be reduced"), std::string::npos) << flat.err;
    EXPECT_EQ(transformRun({"transform", file, out, "--kind", "continue"}).status, 2);
    EXPECT_FALSE(std::filesystem::exists(out));

    const std::string empty = dir.path("empty.vsurvey");
    ASSERT_EQ(transformRun({"new", empty}).status, 0);
    const ToolRun none = transformRun({"transform", empty, out, "--kind", "dz"});
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("no readings to grid"), std::string::npos) << none.err;
    const ToolRun plot =
        transformRun({"plot", file, dir.path("p.png"), "--show", "readings", "--transform", "dz"});
    EXPECT_EQ(plot.status, 2);
    EXPECT_NE(plot.err.find("--transform: show a layer of the grid"), std::string::npos);
}

}  // namespace velkor
