#include <gtest/gtest.h>

#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "gridding/Contours.h"
#include "support/GdalHandles.h"
#include "support/ParametricPlacement.h"
#include "support/TempDir.h"
#include "survey/ContourFile.h"
#include "survey/Survey.h"
#include "survey/SurveyExport.h"
#include "text/TextFormat.h"

namespace velkor {
namespace {

using ExportFormat = SurveyExport::Format;

std::string exportClock(int seconds) {
    return formatText("%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
}

// A data line as the import writes it, with a gradient column.
std::string exportReading(char mode, int seconds, const char* line, const char* position,
                          const char* field, const char* gradient = "") {
    return formatText("%c 03.07.2026 %s %5s %5s %7s  0.7 7 1.5 %8s Base ", mode,
                      exportClock(seconds).c_str(), line, position, field, gradient);
}

std::vector<std::string> split(const std::string& text, const std::string& by) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(by, from)) != std::string::npos; from = at + by.size()) {
        parts.push_back(text.substr(from, at - from));
    }
    parts.push_back(text.substr(from));
    return parts;
}

class SurveyExportTest : public ::testing::Test {
  protected:
    // Two lines walked in reverse order, a base-station reading, a gradiometer reading,
    // and readings after the base file ends; reading 3 flagged.
    void SetUp() override {
        std::string text = "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n";
        for (const std::string& l :
             {exportReading('A', 8 * 3600 + 100, "0", "0", "48220.5"),
              exportReading('S', 8 * 3600 + 200, "2", "3", "48232.8"),
              exportReading('S', 8 * 3600 + 300, "2", "1", "48231.1"),
              exportReading('G', 8 * 3600 + 400, "1", "2", "48230.0", "12.35"),
              exportReading('S', 9 * 3600 + 1800, "1", "1", "48229.4")}) {
            text += l + "\r\n";
        }
        std::string base = " Date       Time     Variations\r\n";
        for (int t = 8 * 3600; t <= 9 * 3600; t += 60) {
            base += formatText(" 03.07.2026 %s %7.1f\r\n", exportClock(t).c_str(), 48010.0 + t % 7);
        }
        settings.days = {dir.write("day one.velkor", text)};
        settings.baseSources = {{dir.write("base.a", base), 0}};
        settings.datum = 48000.0;
        settings.placement = parametricPlacement(500000.0, 5400000.0, 30.0, 20.0, 5.0);
        std::string message;
        settings.epsg = 32632;
        auto opened = Survey::open(settings, message);
        ASSERT_TRUE(opened) << message;
        settings.flags = {{settings.days[0], 3, std::string(opened->day(0).data.line(3)), "spike"}};
        ASSERT_TRUE(opened->change(settings, message)) << message;
        survey = std::make_unique<Survey>(std::move(*opened));
    }

    TempDir dir;
    SurveySettings settings;
    std::unique_ptr<Survey> survey;
};

}  // namespace

TEST_F(SurveyExportTest, CsvHasItsColumnsAndEveryValueOfEachReading) {
    // A decimal comma in the user's locale changes nothing.
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    const std::string text = SurveyExport::csv(*survey, {});
    std::setlocale(LC_NUMERIC, before.c_str());

    const std::vector<std::string> lines = split(text, "\r\n");
    ASSERT_EQ(lines.size(), 7u);  // header, five readings, nothing after the last line end
    EXPECT_EQ(lines[0],
              "file,reading,line,position,date,time,easting,northing,latitude,longitude,field,"
              "base,diurnal,normal,anomaly,gradient,flag,level");
    EXPECT_EQ(lines[6], "");
    for (int r = 0; r < 5; ++r) {
        SCOPED_TRACE(r);
        const std::vector<std::string> c = split(lines[static_cast<std::size_t>(r) + 1], ",");
        ASSERT_EQ(c.size(), 18u);
        EXPECT_EQ(c[17], "0.00");  // not levelled
        const Survey::Reading g = survey->reading(r);
        EXPECT_EQ(c[0], "day one.velkor");
        EXPECT_EQ(c[1], std::to_string(g.line));
        EXPECT_EQ(c[4], "03.07.2026");
        EXPECT_EQ(c[6], formatText("%.3f", g.easting));
        EXPECT_EQ(c[7], formatText("%.3f", g.northing));
        ASSERT_TRUE(g.latitude && g.longitude);
        EXPECT_EQ(c[8], formatText("%.8f", *g.latitude));
        EXPECT_EQ(c[9], formatText("%.8f", *g.longitude));
        EXPECT_EQ(c[10], formatText("%.2f", static_cast<double>(g.field)));
        EXPECT_EQ(c[12], g.diurnal ? formatText("%.2f", static_cast<double>(*g.diurnal)) : "");
        EXPECT_EQ(c[14], g.anomaly ? formatText("%.2f", static_cast<double>(*g.anomaly)) : "");
    }
    const auto row = [&](int r) { return split(lines[static_cast<std::size_t>(r) + 1], ","); };
    EXPECT_EQ(row(0)[2] + "/" + row(0)[3] + "/" + row(0)[5], "0/0/08:01:40");
    // The base-station reading: placed, its field written, never corrected.
    EXPECT_EQ(row(0)[11] + row(0)[12] + row(0)[14], "");
    EXPECT_EQ(row(1)[12], formatText("%.2f", static_cast<double>(*survey->reading(1).diurnal)));
    EXPECT_EQ(row(3)[15], "12.35");  // only a gradiometer reading has a gradient
    EXPECT_EQ(row(1)[15], "");
    EXPECT_EQ(row(4)[11], "");  // after the base file ends: no base, diurnal or anomaly
    EXPECT_EQ(row(4)[12], "");
    EXPECT_EQ(row(2)[16], "spike");
    EXPECT_EQ(row(1)[16], "");
    EXPECT_EQ(row(2)[13], "");  // no normal field asked

    // Left out with the option; without a coordinate system, no latitude or longitude.
    settings.epsg.reset();
    std::string message;
    ASSERT_TRUE(survey->change(settings, message)) << message;
    const std::vector<std::string> unflagged =
        split(SurveyExport::csv(*survey, {true, ""}), "\r\n");
    ASSERT_EQ(unflagged.size(), 6u);
    for (std::size_t k = 1; k < 5; ++k) {
        const std::vector<std::string> c = split(unflagged[k], ",");
        EXPECT_NE(c[1], "3");
        EXPECT_EQ(c[8] + c[9], "");
        EXPECT_EQ(c[16], "");
    }
}

TEST_F(SurveyExportTest, XyzHasOneBlockPerLineInOrderAndStarsForMissingValues) {
    const std::vector<std::string> lines =
        split(SurveyExport::xyz(*survey, {false, "week"}), "\r\n");
    const std::vector<std::string> head(lines.begin(), lines.begin() + 2);
    EXPECT_EQ(head, (std::vector<std::string>{
                        "/ Velkor2tr survey: week",
                        "/ file reading line position date time easting northing latitude "
                        "longitude field base diurnal normal anomaly gradient flag level"}));
    std::vector<std::string> order;
    for (std::size_t k = 2; k + 1 < lines.size(); ++k) {
        if (lines[k].rfind("Line ", 0) == 0) {
            order.push_back(lines[k]);
            continue;
        }
        const std::vector<std::string> c = split(lines[k], " ");
        ASSERT_EQ(c.size(), 18u) << lines[k];
        EXPECT_EQ(c[0], "day_one.velkor");
        order.push_back(c[2] + "/" + c[3]);
        for (const std::string& v : c) {
            EXPECT_FALSE(v.empty());
        }
        if (c[1] == "1") {  // the base-station reading
            EXPECT_EQ(c[11] + c[12] + c[14] + c[15] + c[16], "*****");
        }
        if (c[1] == "3") {
            EXPECT_EQ(c[16], "spike");
        }
    }
    EXPECT_EQ(order, (std::vector<std::string>{"Line 0", "0/0", "Line 1", "1/1", "1/2", "Line 2",
                                               "2/1", "2/3"}));
    EXPECT_EQ(lines.back(), "");

    const std::string unflagged = SurveyExport::xyz(*survey, {true, "week"});
    EXPECT_EQ(unflagged.find("spike"), std::string::npos);
    EXPECT_NE(unflagged.find("Line 2\r\n"), std::string::npos);
}

TEST_F(SurveyExportTest, GisPointLayersHoldEveryReadingWithItsAttributesAndSystem) {
    for (const char* name : {"out.gpkg", "out.shp", "out.kml"}) {
        SCOPED_TRACE(name);
        const std::string path = dir.path(name);
        const auto format = SurveyExport::formatOf(path);
        ASSERT_TRUE(format);
        std::string message;
        ASSERT_TRUE(SurveyExport::write(*survey, *format, path, {}, message)) << message;
        const Dataset ds = openVector(path);
        ASSERT_TRUE(ds);
        OGRLayerH layer = firstLayer(ds);
        ASSERT_NE(layer, nullptr);
        EXPECT_EQ(OGR_L_GetFeatureCount(layer, TRUE), 4);  // the base station's is no point
        EXPECT_EQ(systemCodeOf(layer), *format == ExportFormat::Kml ? "4326" : "32632");
        OGRFeatureDefnH defn = OGR_L_GetLayerDefn(layer);
        for (const std::string& column : split(SurveyExport::kColumns, ",")) {
            EXPECT_GE(OGR_FD_GetFieldIndex(defn, column.c_str()), 0) << column;
        }
        OGR_L_ResetReading(layer);
        int seen = 0;
        while (const Feature feature{OGR_L_GetNextFeature(layer)}) {
            const auto f = static_cast<OGRFeatureH>(feature.get());
            const auto field = [&](const char* n) { return OGR_F_GetFieldIndex(f, n); };
            const int reading = OGR_F_GetFieldAsInteger(f, field("reading"));
            const Survey::Reading g = survey->reading(reading - 1);
            EXPECT_STREQ(OGR_F_GetFieldAsString(f, field("file")), "day one.velkor");
            EXPECT_DOUBLE_EQ(OGR_F_GetFieldAsDouble(f, field("field")),
                             std::round(static_cast<double>(g.field) * 100.0) / 100.0);
            EXPECT_EQ(OGR_F_IsFieldSetAndNotNull(f, field("anomaly")) != 0, g.anomaly.has_value());
            EXPECT_STREQ(OGR_F_GetFieldAsString(f, field("flag")), reading == 3 ? "spike" : "");
            OGRGeometryH at = OGR_F_GetGeometryRef(f);
            EXPECT_NEAR(OGR_G_GetX(at, 0), *format == ExportFormat::Kml ? *g.longitude : g.easting,
                        1e-6);
            EXPECT_NEAR(OGR_G_GetY(at, 0), *format == ExportFormat::Kml ? *g.latitude : g.northing,
                        1e-6);
            ++seen;
        }
        EXPECT_EQ(seen, 4);
    }
    // Unflagged, and a failure told with the file's name.
    std::string message;
    ASSERT_TRUE(SurveyExport::write(*survey, ExportFormat::GeoPackage, dir.path("out.gpkg"),
                                    {true, ""}, message));
    const Dataset ds(
        GDALOpenEx(dir.path("out.gpkg").c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr));
    EXPECT_EQ(
        OGR_L_GetFeatureCount(GDALDatasetGetLayer(static_cast<GDALDatasetH>(ds.get()), 0), TRUE),
        3);
    const std::string nowhere = dir.path("no/such.csv");
    EXPECT_FALSE(SurveyExport::write(*survey, ExportFormat::Csv, nowhere, {}, message));
    EXPECT_EQ(message, "Write error: " + nowhere);
    EXPECT_FALSE(SurveyExport::formatOf("x.txt"));
}

// Numbers as numbers, whole numbers as integers, in every GIS format; base-station
// readings only when asked for, then with their mode.
TEST_F(SurveyExportTest, GisAttributesAreTypedAndBaseReadingsAreNoPoints) {
    const auto typeOf = [](OGRLayerH layer, const char* name) {
        OGRFeatureDefnH defn = OGR_L_GetLayerDefn(layer);
        const int k = OGR_FD_GetFieldIndex(defn, name);
        return k < 0 ? OFTMaxType : OGR_Fld_GetType(OGR_FD_GetFieldDefn(defn, k));
    };
    ContourSet contours;
    contours.lines.push_back({50.0, true, false, {{500000.0, 5400000.0}, {500010.0, 5400010.0}}});
    const CoordinateSystem* crs = survey->coordinateSystem();
    for (const std::string ext : {".gpkg", ".shp", ".kml"}) {
        SCOPED_TRACE(ext);
        for (const bool base : {false, true}) {
            const std::string path = dir.path(std::string(base ? "base" : "points") + ext);
            SurveyExport::Options options;
            options.includeBase = base;
            std::string message;
            ASSERT_TRUE(
                SurveyExport::write(*survey, *SurveyExport::formatOf(path), path, options, message))
                << message;
            const Dataset ds(GDALOpenEx(path.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr));
            ASSERT_TRUE(ds);
            OGRLayerH layer = GDALDatasetGetLayer(static_cast<GDALDatasetH>(ds.get()), 0);
            EXPECT_EQ(typeOf(layer, "line"), OFTReal);
            EXPECT_EQ(typeOf(layer, "position"), OFTReal);
            EXPECT_EQ(typeOf(layer, "reading"), OFTInteger);
            EXPECT_EQ(OGR_L_GetFeatureCount(layer, TRUE), base ? 5 : 4);
            EXPECT_EQ(typeOf(layer, "mode"), base ? OFTString : OFTMaxType);
        }
        const std::string path = dir.path("contours" + ext);
        std::string message;
        ASSERT_TRUE(ContourFile::write(contours, crs, *ContourFile::formatOf(path), path, message))
            << message;
        const Dataset ds(GDALOpenEx(path.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr));
        ASSERT_TRUE(ds);
        EXPECT_EQ(typeOf(GDALDatasetGetLayer(static_cast<GDALDatasetH>(ds.get()), 0), "index"),
                  OFTInteger);
    }
}

}  // namespace velkor
