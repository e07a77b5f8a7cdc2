#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include <stdlib.h>

#include "data/DataFile.h"
#include "data/DataSet.h"
#include "support/RecordingPrompter.h"
#include "support/SimControl.h"
#include "support/TempDir.h"
#include "transfer/CFTD2XX.h"
#include "transfer/Importer.h"

namespace velkor {
namespace {

const std::string kThree =
    "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n"
    "S 03.07.2026 10:00:00     1     1 48123.4  0.7 7 1.5               \r\n"
    "A 03.07.2026 10:01:00     0     0 48110.2 12.5 8 1.6          Base \r\n"
    "G 03.07.2026 10:02:00     1     2 48130.9  1.2 6 1.4    124.0 Fence\r\n";

class ImporterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ::setenv("TMPDIR", dir.dir().c_str(), 1);  // an import file of this test's own
        survey = dir.write("three.velkor", kThree);
        previous = dir.write("before.velkor", "M old\r\nS old reading\r\n");
        ASSERT_TRUE(DataFile::load(previous, data, prompter));
    }

    bool import(const std::map<std::string, std::string>& settings,
                std::optional<std::uint32_t> device = 0) {
        sim.configure(settings);
        CFTD2XX usb(prompter);
        EXPECT_EQ(usb.bind(), 1);
        Importer importer(usb, prompter);
        const bool ok = importer.run(data, device);
        notice = importer.notice();
        EXPECT_FALSE(sim.isOpen());  // closed on every end
        return ok;
    }

    void TearDown() override { ::unsetenv("TMPDIR"); }

    void expectUnchanged() {
        EXPECT_EQ(data.lines(), (std::vector<std::string>{"M old", "S old reading"}));
        EXPECT_FALSE(data.modified);
    }

    TempDir dir;
    SimControl sim;
    RecordingPrompter prompter;
    std::string notice;
    DataSet data;
    std::string survey;
    std::string previous;
};

}  // namespace

TEST_F(ImporterTest, ThreeReadingsThroughTheSimulatedLibrary) {
    ASSERT_TRUE(import({{"VELKOR_SIM_SURVEY", survey}}));
    EXPECT_EQ(data.lineCount(), 4);
    EXPECT_EQ(data.layout().kind(), ColumnLayout::Kind::Blank);
    EXPECT_TRUE(data.modified);
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(prompter.transferLines.size(), 3u);
    EXPECT_EQ(prompter.transferWindows, 1);
    EXPECT_FALSE(prompter.transferOpen);
    EXPECT_FALSE(std::filesystem::exists(Importer::tempFilePath()));
    ASSERT_TRUE(DataFile::write(dir.path("again.velkor"), data, prompter));
    EXPECT_EQ(TempDir::read(dir.path("again.velkor")), kThree);
}

TEST_F(ImporterTest, ChoosingTheDevice) {
    sim.configure({{"VELKOR_SIM_SURVEY", survey}});
    prompter.devices.push_back(std::nullopt);  // Cancel
    EXPECT_FALSE(import({{"VELKOR_SIM_SURVEY", survey}}, std::nullopt));
    EXPECT_EQ(prompter.asked.back(), "device:Proton Magnetometer Velkor-2");
    prompter.devices.push_back(100u);  // no valid choice
    EXPECT_FALSE(import({{"VELKOR_SIM_SURVEY", survey}}, std::nullopt));
    prompter.devices.push_back(0xFFFFFFFFu);
    EXPECT_FALSE(import({{"VELKOR_SIM_SURVEY", survey}}, std::nullopt));
    EXPECT_EQ(sim.opens(), 0);
    expectUnchanged();
    EXPECT_TRUE(prompter.shown.empty());

    EXPECT_FALSE(import({{"VELKOR_SIM_DEVICES", "X=FT232R USB UART"}}));
    EXPECT_EQ(prompter.shown.back().text, "No USB device found");
    EXPECT_EQ(prompter.shown.back().caption, "Info");

    // No bridge at all, and a library that refuses a null record array.
    prompter.shown.clear();
    EXPECT_FALSE(import({{"VELKOR_SIM_DEVICES", ""}, {"VELKOR_SIM_FAULT", "nulllist"}}));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown.back().text, "No USB device found");
    EXPECT_EQ(prompter.shown.back().caption, "Info");
}

TEST_F(ImporterTest, InstrumentAnswersThatImportNothing) {
    EXPECT_FALSE(import({{"VELKOR_SIM_SURVEY", survey}, {"VELKOR_SIM_FAULT", "echo"}}));
    EXPECT_EQ(prompter.shown.back().text, "Error");
    EXPECT_EQ(prompter.shown.back().caption, "Error");

    prompter.shown.clear();
    EXPECT_FALSE(import({{"VELKOR_SIM_FAULT", "nodata"}}));
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"No Data", "No imported data"}));
    EXPECT_FALSE(std::filesystem::exists(Importer::tempFilePath()));

    prompter.shown.clear();
    EXPECT_FALSE(import({{"VELKOR_SIM_FAULT", "empty"}}));
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"The file is empty"}));

    prompter.shown.clear();
    EXPECT_FALSE(import({{"VELKOR_SIM_FAULT", "busy"}}));
    EXPECT_NE(prompter.texts().back().find("cannot be opened"), std::string::npos);
    expectUnchanged();
}

TEST_F(ImporterTest, LinkFailureAtEveryByte) {
    // The instrument sends 1 + 4 + 3 x 52 bytes; the link breaks before each of them.
    const int total = 1 + 4 + 3 * 52;
    for (int k = 0; k < total; ++k) {
        prompter.shown.clear();
        EXPECT_FALSE(import(
            {{"VELKOR_SIM_SURVEY", survey}, {"VELKOR_SIM_FAULT", "break:" + std::to_string(k)}}))
            << k;
        ASSERT_EQ(prompter.shown.size(), 1u) << k;
        if (k >= 5) {
            const int got = (k - 5) / 52;
            EXPECT_EQ(prompter.shown[0].text,
                      "The transfer was interrupted after " + std::to_string(got) +
                          " of 3 readings. Nothing was imported; the readings shown before are "
                          "unchanged.")
                << k;
        }
        expectUnchanged();
    }
}

TEST_F(ImporterTest, ASilentInstrumentEndsAtTheTimeOut) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(import({{"VELKOR_SIM_FAULT", "silent"}}));
    const auto seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 30.0);  // a bound against hanging, not a speed check
    EXPECT_EQ(prompter.texts().size(), 1u);
    EXPECT_NE(prompter.texts().front().find("does not answer"), std::string::npos);
    expectUnchanged();
}

TEST_F(ImporterTest, ALibraryThatRefusesTimeOutsEndsTheImport) {
    EXPECT_FALSE(import({{"VELKOR_SIM_FAULT", "notimeouts"}}));
    EXPECT_EQ(sim.opens(), 1);
    EXPECT_EQ(prompter.texts(),
              (std::vector<std::string>{
                  "The USB device does not accept read and write time-outs, so the transfer "
                  "cannot start safely. Nothing was imported. Reconnect the instrument, then "
                  "import again."}));
    EXPECT_FALSE(prompter.transferOpen);
    expectUnchanged();
}

TEST_F(ImporterTest, OverLongReadingsAreCutAndNamedAfterTheLoad) {
    ASSERT_TRUE(import({{"VELKOR_SIM_READINGS", "20"}, {"VELKOR_SIM_FAULT", "huge"}}));
    EXPECT_EQ(data.readingCount(), 20);
    EXPECT_TRUE(prompter.shown.empty());  // told by the caller once the readings are shown
    EXPECT_EQ(notice,
              "7 readings held values too large for their columns and were cut to 84 "
              "characters: readings 2, 5, 8, 11, 14 and 2 more.");
    for (const std::string& line : data.lines()) {
        EXPECT_LE(line.size(), 84u);
    }

    ASSERT_TRUE(import({{"VELKOR_SIM_READINGS", "4"}, {"VELKOR_SIM_FAULT", "huge"}}));
    EXPECT_EQ(data.readingCount(), 4);
    EXPECT_EQ(notice,
              "1 reading held values too large for its columns and was cut to 84 characters: "
              "reading 2.");
    ASSERT_TRUE(import({{"VELKOR_SIM_READINGS", "4"}}));
    EXPECT_EQ(notice, "");
}

TEST_F(ImporterTest, AnImportFileThatCannotBeMadeIsAWriteError) {
    std::filesystem::create_directory(Importer::tempFilePath());  // a folder in its place
    EXPECT_FALSE(import({{"VELKOR_SIM_SURVEY", survey}}));
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"Write error"}));
    EXPECT_TRUE(prompter.transferLines.empty());
    expectUnchanged();
}

TEST_F(ImporterTest, TooManyReadingsAreRefused) {
    EXPECT_FALSE(import({{"VELKOR_SIM_FAULT", "count:25000"}}));
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{
                                    "The instrument holds 25000 readings. Velkor2tr holds at "
                                    "most 19999 readings (20000 lines); nothing was imported."}));
    expectUnchanged();
}

TEST_F(ImporterTest, TheCountNextToNoDataIsRefusedToo) {
    // 0xFFFFFFFE is one below "no data": a count, and far too many readings.
    EXPECT_FALSE(import({{"VELKOR_SIM_FAULT", "count:4294967294"}}));
    EXPECT_EQ(
        prompter.texts(),
        (std::vector<std::string>{"The instrument holds 4294967294 readings. Velkor2tr holds "
                                  "at most 19999 readings (20000 lines); nothing was imported."}));
    expectUnchanged();
}

}  // namespace velkor
