#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliTool.h"
#include "pictures/PictureWriter.h"
#include "support/Fixture.h"
#include "support/RecordingPictures.h"
#include "support/RecordingSurface.h"
#include "support/TempDir.h"
#include "support/ToolRun.h"
#include "text/TextFormat.h"

namespace velkor {
namespace {

using CliRun = ToolRun;

CliRun cli(const std::vector<std::string>& args) {
    return tool(args);
}

}  // namespace

TEST(CliTool, InfoCountsReadingsByModeAndTellsWhatTheyCover) {
    // The base station's reading (line 99) counts for the dates only.
    EXPECT_EQ(cli({"info", kSmall}),
              (ToolRun{0,
                       "lines: 7\nlayout: blank\nS: 3\nA: 1\nG: 1\nother: 1\n"
                       "dates: 03.07.2026 09:02:10 to 03.07.2026 09:06:50\n"
                       "line numbers: 1 to 2\npositions: 1 to 3\nfield: 48118.6 to 48164.9 nT\n",
                       ""}));

    // Texts that hold no number, or no date, are left out of the ranges and counted.
    TempDir dir;
    CliRun r = cli({"info", dir.write("odd.velkor",
                                      "M header\r\n"
                                      "S 04.07.2026 08:00:00    12   -40     nan  0.7 7 1.5\r\n"
                                      "S 31.12.2025 23:59:59   7.5     3 48200.5  0.7 7 1.5\r\n"
                                      "S   .  .     10:00:00           3        \r\n"
                                      "A 01.01.2020 00:00:00     0     0 47000.0  0.7 7 1.5\r\n")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "lines: 5\nlayout: blank\nS: 3\nA: 1\nG: 0\n"
              "dates: 01.01.2020 00:00:00 to 04.07.2026 08:00:00 (1 without a date)\n"
              "line numbers: 7.5 to 12 (1 without a number)\npositions: -40 to 3\n"
              "field: 48200.5 to 48200.5 nT (2 without a number)\n");
    r = cli({"info", dir.write("header.velkor", "M header\r\nS\r\n")});
    EXPECT_EQ(r.out.substr(r.out.find("dates")),
              "dates: none (1 without a date)\nline numbers: none (1 without a number)\n"
              "positions: none (1 without a number)\nfield: none (1 without a number)\n");
}

TEST(CliTool, CopyReproducesTheFileByteForByte) {
    TempDir dir;
    const std::string out = dir.path("copy.velkor");
    const CliRun r = cli({"copy", kSmall, out});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(TempDir::read(out), TempDir::read(kSmall));

    // LF-only input comes out with CR LF.
    const std::string lf = dir.write("lf.velkor", "M head\nS one\n");
    EXPECT_EQ(cli({"copy", lf, out}).status, 0);
    EXPECT_EQ(TempDir::read(out), "M head\r\nS one\r\n");
}

TEST(CliTool, FailuresEndWithTheProgramsMessage) {
    TempDir dir;
    CliRun r = cli({"info", dir.path("missing.velkor")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Read error\n");

    r = cli({"copy", dir.write("h.velkor", "M only\r\n"), dir.path("out")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "The file is empty\n");

    r = cli({"copy", kSmall, dir.path("nowhere/out")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Write error\n");
}

TEST(CliTool, UsageErrors) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {}, {"info"}, {"copy", "a"}, {"info", "a", "b"}, {"frobnicate"}}) {
        const CliRun r = cli(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("usage: velkor2tr-cli"), std::string::npos);
        EXPECT_EQ(r.out, "");
    }
    const CliRun help = cli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage: velkor2tr-cli"), std::string::npos);
}

namespace {

const std::string kToolDay =
    "M header \r\n"
    "S 03.07.2026 10:05:00     1     1 48100.0  0.7 7 1.5          Base \r\n"
    "S 03.07.2026 11:05:00     1     2 48200.0  0.7 7 1.5               \r\n"
    "A 03.07.2026 10:05:00     0     0 48004.6  0.7 7 1.5               \r\n";
// A data file of lines 1 to lines, each of positions 1 to 4 read at one time, the field
// 48100 + 10 line + position; with gradients, position 2 of each line a gradient reading.
std::string lattice(int lines, bool gradients) {
    std::string text = "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n";
    for (int line = 1; line <= lines; ++line) {
        for (int pos = 1; pos <= 4; ++pos) {
            const double field = 48100.0 + line * 10 + pos;
            if (gradients) {
                text += formatText("%c 03.07.2026 10:05:00 %5d %5d %7.1f  0.7 7 1.5 %8s      \r\n",
                                   pos == 2 ? 'G' : 'S', line, pos, field, pos == 2 ? "3.5" : "");
            } else {
                text += formatText("S 03.07.2026 10:05:00 %5d %5d %7.1f  0.7 7 1.5%16s\r\n", line,
                                   pos, field, "");
            }
        }
    }
    return text;
}

// Three samples of the day's date around its readings.
const std::string kBase = Fixture::text("three-samples.a");

}  // namespace

TEST(CliExport, CorrectedWithVariationsAndGeomagnetic) {
    TempDir dir;
    const std::string in = dir.write("day.velkor", kToolDay);
    const std::string base = dir.write("base.a", kBase);
    const std::string out = dir.path("day.cf");
    const CliRun r = cli({"export", "corrected", in, out, "--variations", base, "--basis", "48000",
                          "--geomag", "47000"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "There are uncorrected readings in the file\n");
    EXPECT_EQ(TempDir::read(out),
              "Variations Basis  48000.0nT\r\nGeomagnetic Field  47000.0nT\r\n"
              " Line Pos  Corrected\r\n    1    1   1095.0\r\n");

    const CliRun g = cli({"export", "corrected", in, out, "--geomag", "0"});
    EXPECT_EQ(g.status, 0);
    EXPECT_EQ(TempDir::read(out),
              "Geomagnetic Field      0.0nT\r\n Line Pos  Corrected\r\n    1    1  48100.0\r\n"
              "    1    2  48200.0\r\n");
}

TEST(CliExport, CorrectedRefusesWhenNothingWasCorrected) {
    TempDir dir;
    const std::string in = dir.write("day.velkor", kToolDay);
    std::string otherDay = kBase;
    for (std::size_t at = otherDay.find("03.07"); at != std::string::npos;
         at = otherDay.find("03.07", at)) {
        otherDay.replace(at, 5, "04.07");
    }
    const std::string base = dir.write("other.a", otherDay);
    const std::string out = dir.path("day.cf");
    const CliRun r = cli({"export", "corrected", in, out, "--variations", base});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "There are uncorrected readings in the file\n"
              "No reading was corrected from the variations file, so there are no corrected "
              "values to export; nothing was written.\n");
    EXPECT_FALSE(std::filesystem::exists(out));
    // The other exports do not depend on a correction.
    EXPECT_EQ(cli({"export", "field", in, dir.path("day.f"), "--variations", base}).status, 0);
}

TEST(CliExport, NoticesFailuresAndUsage) {
    TempDir dir;
    const std::string in = dir.write("day.velkor", kToolDay);
    CliRun r = cli({"export", "gradient", in, dir.path("day.g")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "There is nothing to export. The output file is empty.\n");
    EXPECT_EQ(TempDir::read(dir.path("day.g")), " Line  Pos  Gradient\r\n");

    r = cli({"export", "auto", in, dir.path("day.a")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(TempDir::read(dir.path("day.a")),
              " Date       Time     Variations\r\n 03.07.2026 10:05:00 48004.6\r\n");

    r = cli({"export", "field", in, dir.path("x.f"), "--variations", dir.path("none.a")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Read error \n");
    EXPECT_FALSE(std::filesystem::exists(dir.path("x.f")));

    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"export", "corrected", in, dir.path("c")},
             {"export", "sideways", in, dir.path("c")},
             {"export", "field", in},
             {"export", "field", in, dir.path("c"), "--basis", "10"},
             {"export", "field", in, dir.path("c"), "--geomag"},
             {"export", "field", in, dir.path("c"), "--colour", "red"}}) {
        EXPECT_EQ(cli(args).status, 2) << args[1];
    }
    r = cli({"export", "corrected", in, dir.path("c"), "--geomag", "95000"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "velkor2tr-cli: --geomag: Enter a number between 0 and 90000.\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path("c")));
}

TEST(CliIgrf, PrintsTheFieldOnOneLine) {
    const CliRun r = cli({"igrf", "55N", "37E", "200", "2026-07-03"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    // X Y Z H F in nT to 0.1, D I in degrees to 0.01.
    const std::regex line(R"((-?\d+\.\d ){5}-?\d+\.\d\d -?\d+\.\d\d\n)");
    EXPECT_TRUE(std::regex_match(r.out, line)) << r.out;
    // Signed degrees, a decimal year and the hemisphere letters name the same field.
    EXPECT_EQ(cli({"igrf", "55.0", "+37", "200", "2026.501369863"}).out, r.out);
    EXPECT_EQ(cli({"igrf", "-33.9", "-70.5", "0", "2000.0"}).out,
              cli({"igrf", "33.9 s", "70.5W", "0", "2000-01-01"}).out);

    // F goes into the corrected export: the first reading is of 3 July 2026.
    TempDir dir;
    const std::string in = dir.write("day.velkor", kToolDay);
    const std::string out = dir.path("day.cf");
    EXPECT_EQ(cli({"export", "corrected", in, out, "--geomag", "igrf:55N,37E,200"}).status, 0);
    std::istringstream fields(r.out);
    double x, y, z, h, f;
    fields >> x >> y >> z >> h >> f;
    const std::string written = TempDir::read(out);
    char header[40];
    std::snprintf(header, sizeof header, "Geomagnetic Field%9.1fnT\r\n", f);
    EXPECT_EQ(written.substr(0, written.find('\n') + 1), header);
    EXPECT_EQ(cli({"export", "corrected", in, dir.path("low.cf"), "--geomag", "igrf:55,37"}).status,
              0);
    EXPECT_NE(TempDir::read(dir.path("low.cf")), written);  // 0 m, not 200 m
}

TEST(CliIgrf, RefusesWhatTheModelDoesNotCover) {
    CliRun r = cli({"igrf", "55N", "37E", "200", "2030-01-02"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "The field model IGRF-14 covers the dates from 1900.0 to 2030.0 only.\n");
    r = cli({"igrf", "55N", "37E", "200", "2026-02-30"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "velkor2tr-cli: igrf: Enter the date as YYYY-MM-DD or as a decimal year.\n");
    EXPECT_EQ(cli({"igrf", "-55N", "37E", "200", "2026.5"}).status, 2);
    EXPECT_EQ(cli({"igrf", "55N", "37E", "2026.5"}).status, 2);

    TempDir dir;
    const std::string in = dir.write("day.velkor", kToolDay);
    r = cli({"export", "corrected", in, dir.path("c"), "--geomag", "igrf:55N"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(
        r.err,
        "velkor2tr-cli: --geomag: Give the place as igrf:LAT,LON or igrf:LAT,LON,HEIGHT_M.\n");
    std::string undated = kToolDay;
    undated.replace(undated.find("03.07.2026"), 10, "  .  .    ");
    r = cli({"export", "corrected", dir.write("undated.velkor", undated), dir.path("c"), "--geomag",
             "igrf:55N,37E"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "The first reading has no date the field model can use, so there is no geomagnetic "
              "field value; nothing was written.\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path("c")));
}

TEST(CliSummary, CountsWhatTheCorrectedExportWritesAndWhy) {
    TempDir dir;
    const std::string in = dir.write("day.velkor", kToolDay);
    const std::string base = dir.write("base.a", kBase);
    EXPECT_EQ(
        cli({"summary", in, "--variations", base, "--basis", "48000"}),
        (ToolRun{0,
                 "readings: 3\ncorrected: 1\nuncorrected: 1\nskipped-auto: 1\n"
                 "reason no-sample: 0\nreason one-sample: 0\nreason outside-span: 1\n"
                 "reason equal-times: 0\nreason field-no-number: 0\nreason sample-no-number: 0\n",
                 "There are uncorrected readings in the file\n"}));

    // Without variations nothing has a sample; a geomagnetic value alone writes every
    // reading but 'A'.
    CliRun r = cli({"summary", in});
    EXPECT_EQ(r.out.substr(0, 58),
              "readings: 3\ncorrected: 0\nuncorrected: 2\nskipped-auto: 1\nre");
    EXPECT_NE(r.out.find("reason no-sample: 2\n"), std::string::npos);
    r = cli({"summary", in, "--geomag", "47000"});
    EXPECT_EQ(r.out.substr(0, 40), "readings: 3\ncorrected: 2\nuncorrected: 0\n");

    // The field model's value, read as export reads it.
    r = cli({"summary", in, "--geomag", "igrf:55N,37E,200"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 40), "readings: 3\ncorrected: 2\nuncorrected: 0\n");
    r = cli({"summary", in, "--geomag", "igrf:55N"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(
        r.err,
        "velkor2tr-cli: --geomag: Give the place as igrf:LAT,LON or igrf:LAT,LON,HEIGHT_M.\n");

    EXPECT_EQ(cli({"summary", in, "--basis", "1"}).status, 2);
    EXPECT_EQ(cli({"summary", in, "--geomag", "95000"}).status, 2);
    EXPECT_EQ(cli({"summary", dir.path("none.velkor")}).status, 1);
}

TEST(CliPlot, BaseCurveOfTheChosenDate) {
    TempDir dir;
    const std::string in = dir.write("day.velkor", kToolDay);
    const std::string base = dir.write("base.a", kBase);
    RecordingPictures pictures;
    std::ostringstream out;
    std::ostringstream err;
    CliTool tool(out, err, &pictures);
    EXPECT_EQ(
        tool.run({"plot", "base", base, dir.path("b.png"), "--survey", in, "--size", "640x400"}),
        0);
    EXPECT_EQ(pictures.path, dir.path("b.png"));
    EXPECT_EQ(pictures.size, "640x400");
    const std::string figures =
        "03.07.2026: 3 samples, 10:00:00 to 10:10:00, 48000.0 to 48010.0 nT, largest gap "
        "00:06:00";
    EXPECT_EQ(out.str(), figures + "\n");
    EXPECT_NE(pictures.surface.findText(figures), nullptr);
    EXPECT_NE(pictures.surface.findText("2 survey readings, 1 outside the samples"), nullptr);

    EXPECT_EQ(tool.run({"plot", "base", base, dir.path("c.png"), "--date", "04.07.2026"}), 1);
    EXPECT_EQ(err.str(), "The variations file holds no sample of 04.07.2026.\n");
    EXPECT_EQ(tool.run({"plot", "base", base, dir.path("c.png"), "--size", "640"}), 2);
    EXPECT_EQ(tool.run({"plot", "contour", base, dir.path("c.png")}), 2);
    EXPECT_EQ(cli({"plot", "base", base, dir.path("c.png")}).status, 1);  // no pictures here
}

TEST(CliPlot, MapAndProfileOfASurvey) {
    TempDir dir;
    const std::string in = dir.write("grid.velkor", lattice(3, true));
    RecordingPictures pictures;
    std::ostringstream out;
    std::ostringstream err;
    CliTool tool(out, err, &pictures);
    ASSERT_EQ(tool.run({"plot", "map", in, dir.path("m.png"), "--size", "640x400"}), 0)
        << err.str();
    EXPECT_EQ(pictures.size, "640x400");
    EXPECT_EQ(out.str(), "12 readings, 48111.2 to 48133.8 nT\n");
    EXPECT_NE(pictures.surface.findText("grid   03.07.2026"), nullptr);
    EXPECT_NE(pictures.surface.findText("Field[nT]"), nullptr);
    EXPECT_GE(pictures.surface.fills.size(), 12u);

    RecordingPictures gradient;
    CliTool gradientTool(out, err, &gradient);
    EXPECT_EQ(gradientTool.run({"plot", "map", in, dir.path("g.png"), "--by", "gradient"}), 0);
    EXPECT_NE(gradient.surface.findText("Gradient[nT]"), nullptr);
    EXPECT_EQ(gradientTool.run({"plot", "map", in, dir.path("g.png"), "--by", "corrected"}), 2);
    EXPECT_EQ(gradientTool.run({"plot", "map", in, dir.path("g.png"), "--by", "heat"}), 2);
    RecordingPictures corrected;
    CliTool correctedTool(out, err, &corrected);
    EXPECT_EQ(correctedTool.run(
                  {"plot", "map", in, dir.path("c.png"), "--by", "corrected", "--geomag", "48000"}),
              0);
    EXPECT_NE(corrected.surface.findText("Corrected[nT]"), nullptr);
    RecordingPictures model;
    CliTool modelTool(out, err, &model);
    EXPECT_EQ(modelTool.run({"plot", "map", in, dir.path("c.png"), "--by", "corrected", "--geomag",
                             "igrf:55N,37E,200"}),
              0)
        << err.str();
    EXPECT_NE(model.surface.findText("Corrected[nT]"), nullptr);

    RecordingPictures profile;
    CliTool profileTool(out, err, &profile);
    EXPECT_EQ(profileTool.run({"plot", "profile", in, dir.path("p.png")}), 0);
    EXPECT_EQ(profile.size, "900x560");
    EXPECT_NE(profile.surface.findText("Field[nT]"), nullptr);
    EXPECT_FALSE(profile.surface.segments.empty());
    EXPECT_EQ(profileTool.run({"plot", "profile", in, dir.path("p.png"), "--by", "field"}), 2);
    EXPECT_EQ(cli({"plot", "map", in, dir.path("m.png")}).status, 1);  // no pictures here
}

TEST(CliPlot, MapDrawnToTheGivenScale) {
    // 4 lines of 4 positions: lines 2 m apart, positions 0.5 m: cells four times as tall.
    TempDir dir;
    const std::string in = dir.write("grid.velkor", lattice(4, false));
    const auto aspect = [&](const std::vector<std::string>& scale) {
        RecordingPictures pictures;
        std::ostringstream out;
        std::ostringstream err;
        std::vector<std::string> args{"plot", "map", in, dir.path("m.png"), "--size", "900x700"};
        args.insert(args.end(), scale.begin(), scale.end());
        EXPECT_EQ(CliTool(out, err, &pictures).run(args), 0) << err.str();
        const RecordingSurface::Fill& c = pictures.surface.fills.at(5);
        return static_cast<double>(c.height) / c.width;
    };
    EXPECT_NEAR(aspect({}), 1.0, 0.03);
    EXPECT_NEAR(aspect({"--line-spacing", "2", "--station-interval", "0.5"}), 4.0, 0.25);
    EXPECT_NEAR(aspect({"--station-interval", "3"}), 1.0 / 3, 0.02);
    for (const char* bad : {"0", "-1", "x", "20000"}) {
        std::ostringstream out;
        std::ostringstream err;
        RecordingPictures pictures;
        EXPECT_EQ(CliTool(out, err, &pictures)
                      .run({"plot", "map", in, dir.path("m.png"), "--line-spacing", bad}),
                  2)
            << bad;
        EXPECT_NE(err.str().find("velkor2tr-cli: --line-spacing: Enter a number"),
                  std::string::npos)
            << err.str();
    }
}

TEST(CliPlot, MapLeavesOutFieldsThatHoldNoNumber) {
    TempDir dir;
    const std::string in =
        dir.write("gaps.velkor",
                  "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n"
                  "S 03.07.2026 10:05:00     1     1 48100.9  0.7 7 1.5                \r\n"
                  "S 03.07.2026 10:05:10     1     2          0.7 7 1.5                \r\n"
                  "S 03.07.2026 10:05:20     1     3     nan  0.7 7 1.5                \r\n"
                  "S 03.07.2026 10:05:30     1     4 48090.0  0.7 7 1.5                \r\n");
    RecordingPictures pictures;
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(CliTool(out, err, &pictures).run({"plot", "map", in, dir.path("m.png")}), 0)
        << err.str();
    EXPECT_EQ(out.str(), "2 readings, 48090.2 to 48100.7 nT\n");
}

}  // namespace velkor
