// What the commands before survey print and write today, byte for byte: each value
// refused with its own message (status 2), each failure's message (status 1), and the
// output and files of representative runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliTool.h"
#include "pictures/PictureWriter.h"
#include "support/Fixture.h"
#include "support/RecordingPictures.h"
#include "support/TempDir.h"
#include "support/ToolRun.h"

namespace velkor {
namespace {

// A picture writer whose every file fails, as a full disk would.
class FailingPictures : public PictureWriter {
  public:
    bool writePng(const std::string&, int, int,
                  const std::function<void(DrawingSurface&)>&) override {
        return false;
    }
};

}  // namespace

TEST(CliMessages, EachRefusedValueHasItsOwnMessage) {
    TempDir dir;
    const std::string out = dir.path("out");
    const std::string base = Fixture::sample("base.a");
    const std::string survey = Fixture::sample("survey.velkor");
    const std::string basisRange = "velkor2tr-cli: --basis: Enter a number between 0 and 99000.\n";
    const std::string geomagRange =
        "velkor2tr-cli: --geomag: Enter a number between 0 and 90000.\n";
    const std::string place =
        "velkor2tr-cli: --geomag: Give the place as igrf:LAT,LON or igrf:LAT,LON,HEIGHT_M.\n";
    const std::string size = "velkor2tr-cli: --size: give WxH, each from 200 to 10000 pixels.\n";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"export", "field", survey, out, "--variations", base, "--basis", "99001"}, basisRange},
        {{"export", "field", survey, out, "--variations", base, "--basis", "-1"}, basisRange},
        {{"export", "field", survey, out, "--variations", base, "--basis", "abc"},
         "velkor2tr-cli: --basis: Enter a number.\n"},
        {{"export", "field", survey, out, "--geomag", "-5"}, geomagRange},
        {{"export", "field", survey, out, "--geomag", "igrf:"}, place},
        {{"export", "corrected", survey, out, "--geomag", "igrf:55N,37E,200,4"}, place},
        {{"export", "field", survey, out, "--geomag", "igrf:10,0,abc"},
         "velkor2tr-cli: --geomag: Enter the height above the ellipsoid in m.\n"},
        // The geomagnetic value is read first, then the basis, before any file.
        {{"export", "field", dir.path("none"), out, "--basis", "99999999", "--variations", base,
          "--geomag", "95000"},
         geomagRange},
        {{"export", "corrected", dir.path("none"), out, "--variations", dir.path("none.a"),
          "--basis", "99001"},
         basisRange},
        {{"summary", survey, "--variations", base, "--basis", "99001"}, basisRange},
        {{"summary", survey, "--geomag", "95000"}, geomagRange},
        {{"summary", survey, "--geomag", "igrf:55N"}, place},
        {{"plot", "map", survey, out, "--line-spacing", "0", "--size", "1x1", "--geomag", "95000",
          "--basis", "100000", "--variations", "x"},
         geomagRange},
        {{"plot", "map", survey, out, "--line-spacing", "0", "--size", "1x1", "--basis", "100000",
          "--variations", "x"},
         basisRange},
        {{"plot", "map", survey, out, "--station-interval", "0", "--line-spacing", "0", "--size",
          "1x1"},
         "velkor2tr-cli: --line-spacing: Enter a number between 0.01 and 10000.\n"},
        {{"plot", "map", survey, out, "--station-interval", "abc", "--size", "1x1"},
         "velkor2tr-cli: --station-interval: Enter a number.\n"},
        {{"plot", "map", survey, out, "--size", "1x1"}, size},
        {{"plot", "base", base, out, "--size", "100x100"}, size},
        {{"plot", "base", base, out, "--size", "0640x400"}, size},
        {{"plot", "base", base, out, "--size", "640"}, size},
        {{"plot", "profile", survey, out, "--size", "20x200"}, size},
        {{"plot", "profile", survey, out, "--size", "200x10001"}, size},
        {{"igrf", "55N", "37E", "abc", "2026-07-03"},
         "velkor2tr-cli: igrf: Enter the height above the ellipsoid in m.\n"},
        {{"igrf", "55N", "abc", "200", "2026-07-03"},
         "velkor2tr-cli: igrf: Enter the longitude in degrees, as 37.6 E or -70.5.\n"},
        {{"igrf", "55N", "37E", "200", "2026-02-30"},
         "velkor2tr-cli: igrf: Enter the date as YYYY-MM-DD or as a decimal year.\n"},
    };
    for (const auto& [args, message] : cases) {
        RecordingPictures pictures;
        const ToolRun r = tool(args, &pictures);
        EXPECT_EQ(r.status, 2) << commandLine(args);
        EXPECT_EQ(r.out, "") << commandLine(args);
        EXPECT_EQ(r.err, message) << commandLine(args);
        EXPECT_EQ(pictures.path, "") << commandLine(args);
        EXPECT_FALSE(std::filesystem::exists(out)) << commandLine(args);
    }
}

TEST(CliMessages, FailuresEndWithTheirMessage) {
    TempDir dir;
    const std::string out = dir.path("out");
    const std::string base = Fixture::sample("base.a");
    const std::string survey = Fixture::sample("survey.velkor");
    const std::string noPictures = "velkor2tr-cli: this build draws no pictures.\n";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"info", dir.path("none")}, "Read error\n"},
        {{"info", dir.dir().string()}, "Read error\n"},
        {{"export", "field", dir.path("none"), out, "--variations", dir.path("none.a")},
         "Read error\n"},
        {{"export", "field", survey, out, "--variations", dir.path("none.a")}, "Read error \n"},
        {{"export", "field", survey, dir.path("no/out")}, "Write error\n"},
        {{"export", "corrected", survey, out, "--geomag", "igrf:100,0"},
         "The latitude must lie between -90 and 90 degrees.\n"},
        {{"export", "corrected", survey, out, "--variations", Fixture::sample("week-base.a")},
         "There are uncorrected readings in the file\nNo reading was corrected from the "
         "variations file, so there are no corrected values to export; nothing was written.\n"},
        {{"summary", dir.path("none")}, "Read error\n"},
        {{"summary", survey, "--variations", dir.path("none")}, "Read error \n"},
        {{"summary", survey, "--geomag", "igrf:100,0"},
         "The latitude must lie between -90 and 90 degrees.\n"},
        {{"igrf", "95", "37E", "200", "2026-07-03"},
         "The latitude must lie between -90 and 90 degrees.\n"},
        {{"igrf", "55N", "37E", "200", "1899-01-01"},
         "The field model IGRF-14 covers the dates from 1900.0 to 2030.0 only.\n"},
        {{"plot", "base", base, out}, noPictures},
        {{"plot", "map", survey, out, "--line-spacing", "2"}, noPictures},
        {{"plot", "profile", survey, out}, noPictures},
    };
    for (const auto& [args, message] : cases) {
        const ToolRun r = tool(args);
        EXPECT_EQ(r.status, 1) << commandLine(args);
        EXPECT_EQ(r.out, "") << commandLine(args);
        EXPECT_EQ(r.err, message) << commandLine(args);
        EXPECT_FALSE(std::filesystem::exists(out)) << commandLine(args);
    }
}

TEST(CliMessages, PlotFailuresEndWithTheirMessage) {
    TempDir dir;
    const std::string out = dir.path("out.png");
    const std::string base = Fixture::sample("base.a");
    const std::string survey = Fixture::sample("survey.velkor");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"plot", "base", dir.path("none.a"), out}, "Read error \n"},
        {{"plot", "base", base, out, "--survey", dir.path("none")}, "Read error\n"},
        {{"plot", "base", base, out, "--date", "01.01.2000"},
         "The variations file holds no sample of 01.01.2000.\n"},
        {{"plot", "base", dir.write("empty.a", " Date       Time     Variations\r\n"), out},
         "The variations file holds no sample.\n"},
        {{"plot", "map", Fixture::sample("base.a"), out},
         "No reading has a value to map; nothing was written.\n"},
        {{"plot", "map", survey, out, "--by", "corrected", "--variations",
          Fixture::sample("week-base.a")},
         "There are uncorrected readings in the file\nNo reading was corrected from the "
         "variations file, so there are no corrected values to export; nothing was written.\n"},
        {{"plot", "map", dir.path("none"), out}, "Read error\n"},
        {{"plot", "profile", dir.path("none"), out}, "Read error\n"},
    };
    for (const auto& [args, message] : cases) {
        RecordingPictures pictures;
        const ToolRun r = tool(args, &pictures);
        EXPECT_EQ(r.status, 1) << commandLine(args);
        EXPECT_EQ(r.out, "") << commandLine(args);
        EXPECT_EQ(r.err, message) << commandLine(args);
        EXPECT_EQ(pictures.path, "") << commandLine(args);
    }
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"plot", "base", base, out},
                                               {"plot", "map", survey, out},
                                               {"plot", "profile", survey, out}}) {
        FailingPictures failing;
        const ToolRun r = tool(args, &failing);
        EXPECT_EQ(r.status, 1) << args[1];
        EXPECT_EQ(r.out, "") << args[1];
        EXPECT_EQ(r.err, "Write error\n") << args[1];
    }
}

TEST(CliOutputs, InfoOfTheSamples) {
    ToolRun r = tool({"info", Fixture::sample("week.velkor")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "lines: 3241\nlayout: blank\nS: 2560\nA: 40\nG: 640\n"
              "dates: 06.07.2026 08:05:31 to 09.07.2026 14:13:31\nline numbers: 1 to 40\n"
              "positions: 1 to 80\nfield: 48174.9 to 48724.2 nT\n");
    r = tool({"info", Fixture::sample("base.a")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "lines: 227\nlayout: blank\nS: 0\nA: 0\nG: 0\nother: 226\n"
              "dates: none (226 without a date)\nline numbers: 8102 to 8120\n"
              "positions: none (226 without a number)\nfield: none (226 without a number)\n");
}

TEST(CliOutputs, ExportFilesOfEachKind) {
    TempDir dir;
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"field"},
         "    1    1 48123.4\r\n    1    2 48131.0\r\n    1    3 48164.9\r\n    2    1 48118.6\r\n"
         "    2    2 48120.0\r\n"},
        {{"gradient"}, " Line  Pos  Gradient\r\n    1    3     12.7\r\n"},
        {{"auto"}, " Date       Time     Variations\r\n 03.07.2026 09:05:00 48110.2\r\n"},
        {{"corrected", "--geomag", "48000"},
         "Geomagnetic Field  48000.0nT\r\n Line Pos  Corrected\r\n    1    1    123.4\r\n"
         "    1    2    131.0\r\n    1    3    164.9\r\n    2    1    118.6\r\n"
         "    2    2    120.0\r\n"},
        {{"corrected", "--geomag", "igrf:55N,37E,200"},
         "Geomagnetic Field  52864.4nT\r\n Line Pos  Corrected\r\n    1    1  -4741.0\r\n"
         "    1    2  -4733.4\r\n    1    3  -4699.5\r\n    2    1  -4745.8\r\n"
         "    2    2  -4744.4\r\n"},
    };
    for (const auto& [kind, bytes] : cases) {
        const std::string out = dir.path(kind[0]);
        std::vector<std::string> args{"export", kind[0], kSmall, out};
        args.insert(args.end(), kind.begin() + 1, kind.end());
        const ToolRun r = tool(args);
        EXPECT_EQ(r.status, 0) << commandLine(args);
        EXPECT_EQ(r.out, "") << commandLine(args);
        EXPECT_EQ(r.err, "") << commandLine(args);
        EXPECT_EQ(TempDir::read(out), bytes) << commandLine(args);
    }
}

TEST(CliOutputs, SummaryAndIgrf) {
    const std::string counts =
        "reason no-sample: 0\nreason one-sample: 0\nreason outside-span: 0\n"
        "reason equal-times: 0\nreason field-no-number: 0\nreason sample-no-number: 0\n";
    ToolRun r = tool({"summary", Fixture::sample("survey.velkor"), "--variations",
                      Fixture::sample("base.a"), "--basis", "48000"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "readings: 488\ncorrected: 480\nuncorrected: 0\nskipped-auto: 8\n" + counts);
    r = tool({"summary", kSmall, "--geomag", "igrf:55N,37E,200"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "readings: 6\ncorrected: 5\nuncorrected: 0\nskipped-auto: 1\n" + counts);

    for (const auto& [args, line] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"55N", "37E", "200", "2026-07-03"},
              "16687.9 3413.4 50045.1 17033.4 52864.4 11.56 71.20\n"},
             {{"-33.9", "-70.5", "0", "2000.0"},
              "20747.4 1604.9 -13721.1 20809.4 24925.9 4.42 -33.40\n"},
             {{"-.5", "-70.5", "0", "2000.0"},
              "27263.0 -3108.7 10895.6 27439.7 29523.7 -6.51 21.66\n"}}) {
        std::vector<std::string> igrf{"igrf"};
        igrf.insert(igrf.end(), args.begin(), args.end());
        r = tool(igrf);
        EXPECT_EQ(r.status, 0) << commandLine(igrf);
        EXPECT_EQ(r.err, "") << commandLine(igrf);
        EXPECT_EQ(r.out, line) << commandLine(igrf);
    }
}

TEST(CliOutputs, PlotsSayWhatTheyDrew) {
    TempDir dir;
    const std::string out = dir.path("out.png");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"base", Fixture::sample("base.a"), out},
         "03.07.2026: 226 samples, 08:30:00 to 16:00:00, 48102.5 to 48120.2 nT, largest gap "
         "00:02:00\n"},
        {{"base", Fixture::sample("week-base.a"), out, "--survey", Fixture::sample("week.velkor")},
         "06.07.2026: 340 samples, 07:00:00 to 23:57:00, 48208.6 to 48257.1 nT, largest gap "
         "00:03:00\n"},
        {{"base", Fixture::sample("week-base.a"), out, "--date", "08.07.2026", "--size", "640x400"},
         "08.07.2026: 480 samples, 00:00:00 to 23:57:00, 48171.3 to 48264.4 nT, largest gap "
         "00:03:00\n"},
        {{"map", Fixture::sample("survey.velkor"), out}, "480 readings, 48115.1 to 48513.1 nT\n"},
        {{"map", Fixture::sample("survey.velkor"), out, "--by", "corrected", "--variations",
          Fixture::sample("base.a"), "--basis", "48000"},
         "480 readings, 48004.5 to 48405.2 nT\n"},
        {{"map", Fixture::sample("week.velkor"), out, "--by", "gradient", "--size", "640x400"},
         "640 readings, -40.4 to 45.2 nT\n"},
        {{"map", Fixture::sample("week.velkor"), out, "--by", "corrected", "--variations",
          Fixture::sample("week-base.a"), "--basis", "48230", "--geomag", "100"},
         "3200 readings, 48130.1 to 48494.4 nT\n"},
        {{"map", Fixture::sample("survey.velkor"), out, "--by", "corrected", "--geomag",
          "igrf:55N,37E"},
         "480 readings, -4754.1 to -4356.1 nT\n"},
        {{"profile", Fixture::sample("survey.velkor"), out, "--size", "200x200"}, ""},
    };
    for (const auto& [words, said] : cases) {
        std::vector<std::string> args{"plot"};
        args.insert(args.end(), words.begin(), words.end());
        RecordingPictures pictures;
        const ToolRun r = tool(args, &pictures);
        EXPECT_EQ(r.status, 0) << commandLine(args);
        EXPECT_EQ(r.err, "") << commandLine(args);
        EXPECT_EQ(r.out, said) << commandLine(args);
        EXPECT_EQ(pictures.path, out) << commandLine(args);
        const bool sized = args.size() > 5 && args[args.size() - 2] == "--size";
        EXPECT_EQ(pictures.size, sized ? args.back() : "900x560") << commandLine(args);
    }
    // The map's title: the file's name and the first reading's date.
    RecordingPictures pictures;
    ASSERT_EQ(tool({"plot", "map", Fixture::sample("survey.velkor"), out}, &pictures).status, 0);
    EXPECT_NE(pictures.surface.findText("survey   03.07.2026"), nullptr);
}

}  // namespace velkor
