#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <thread>

#include "data/DataFile.h"
#include "data/DataSet.h"
#include "support/ForkedChild.h"
#include "support/KernelTestbed.h"
#include "support/RecordingPrompter.h"
#include "support/ScopedEnv.h"
#include "support/SimControl.h"
#include "support/TempDir.h"
#include "text/TextFormat.h"
#include "transfer/CFTD2XX.h"
#include "transfer/ImportFolder.h"
#include "transfer/Importer.h"
#include "transfer/KernelFtdiLink.h"

namespace velkor {
namespace {

const std::string kThree =
    "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n"
    "S 03.07.2026 10:00:00     1     1 48123.4  0.7 7 1.5               \r\n"
    "A 03.07.2026 10:01:00     0     0 48110.2 12.5 8 1.6          Base \r\n"
    "G 03.07.2026 10:02:00     1     2 48130.9  1.2 6 1.4    124.0 Fence\r\n";

namespace fs = std::filesystem;

// What an import may leave in a folder: the import file, or a folder made for one.
std::vector<std::string> leftovers(const fs::path& folder) {
    std::vector<std::string> found;
    for (const fs::directory_entry& e : fs::directory_iterator(folder)) {
        const std::string name = e.path().filename().string();
        if (name == ImportFolder::kFileName || name.rfind("velkor2tr-import-", 0) == 0) {
            found.push_back(name);
        }
    }
    return found;
}

// The folders an import has made under parent, each with its mode and the mode of the
// import file in it ("700 600").
std::vector<std::string> importFolders(const fs::path& parent) {
    std::vector<std::string> found;
    auto mode = [](const fs::path& p) {
        return formatText("%o", static_cast<unsigned>(fs::symlink_status(p).permissions()));
    };
    for (const fs::directory_entry& e : fs::directory_iterator(parent)) {
        if (e.path().filename().string().rfind("velkor2tr-import-", 0) == 0) {
            const fs::path file = e.path() / ImportFolder::kFileName;
            found.push_back(mode(e.path()) + " " +
                            (fs::is_regular_file(fs::symlink_status(file)) ? mode(file) : "none"));
        }
    }
    return found;
}

class ImporterTest : public ::testing::Test {
  protected:
    void SetUp() override {
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

    void expectUnchanged() {
        EXPECT_EQ(data.lines(), (std::vector<std::string>{"M old", "S old reading"}));
        EXPECT_FALSE(data.modified);
    }

    TempDir dir;
    // The import's folder is made in this test's own folder.
    ScopedEnv tmp{"TMPDIR", dir.dir().string()};
    ScopedEnv runtime{"XDG_RUNTIME_DIR", std::nullopt};
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
    EXPECT_TRUE(leftovers(dir.dir()).empty());
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
    EXPECT_TRUE(leftovers(dir.dir()).empty());

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

TEST_F(ImporterTest, AnImportFolderThatCannotBeMadeIsAWriteError) {
    // A temporary-files folder nobody may write in, seen by a user that file modes bind.
    fs::permissions(dir.dir(), fs::perms::owner_all | fs::perms::group_read |
                                   fs::perms::group_exec | fs::perms::others_read |
                                   fs::perms::others_exec);
    const fs::path locked = dir.dir() / "locked";
    fs::create_directory(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read |
                                fs::perms::others_exec);
    const ScopedEnv lockedTmp("TMPDIR", locked.string());
    sim.configure({{"VELKOR_SIM_SURVEY", survey}});
    const bool toldSo = ForkedChild::run(
        [&] {
            CFTD2XX usb(prompter);
            Importer importer(usb, prompter);
            return usb.bind() == 1 && !importer.run(data, 0) &&
                   prompter.texts() == std::vector<std::string>{"Write error"} &&
                   prompter.transferLines.empty() && !sim.isOpen() &&
                   data.lines() == std::vector<std::string>{"M old", "S old reading"};
        },
        10, ForkedChild::kNobody);
    EXPECT_TRUE(toldSo);
    EXPECT_TRUE(fs::is_empty(locked));
}

TEST_F(ImporterTest, APlantedLinkAtTheOldSharedNameIsNeverFollowed) {
    // Another user's trap in a shared temporary folder.
    const std::string victim = dir.write("important.velkor", "M precious\r\n");
    fs::create_symlink(victim, dir.path(ImportFolder::kFileName));
    ASSERT_TRUE(import({{"VELKOR_SIM_SURVEY", survey}}));
    EXPECT_EQ(data.readingCount(), 3);
    EXPECT_EQ(TempDir::read(victim), "M precious\r\n");
    EXPECT_TRUE(fs::is_symlink(dir.path(ImportFolder::kFileName)));  // not ours to remove
}

TEST_F(ImporterTest, TheImportFileIsInAFolderOfTheUsersOwnWhileItIsNeeded) {
    // Looked at while "No Data" is up, when the file with its header line is still there.
    std::vector<std::string> made;
    const fs::path run = dir.dir() / "run";
    fs::create_directory(run);
    fs::permissions(run, fs::perms::owner_all);
    {
        const ScopedEnv runtime("XDG_RUNTIME_DIR", run.string());
        prompter.onMessage = [&] { made = importFolders(run); };
        EXPECT_FALSE(import({{"VELKOR_SIM_FAULT", "nodata"}}));
        EXPECT_EQ(made, (std::vector<std::string>{"700 600"}));
        EXPECT_TRUE(fs::is_empty(run));
    }
    // A runtime folder others may enter is not used: the temporary folder is.
    fs::permissions(run, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                             fs::perms::others_read | fs::perms::others_exec);
    const ScopedEnv runtime("XDG_RUNTIME_DIR", run.string());
    prompter.onMessage = [&] { made = importFolders(dir.dir()); };
    EXPECT_FALSE(import({{"VELKOR_SIM_FAULT", "nodata"}}));
    EXPECT_EQ(made, (std::vector<std::string>{"700 600"}));
    EXPECT_TRUE(fs::is_empty(run));
    EXPECT_TRUE(leftovers(dir.dir()).empty());
}

TEST_F(ImporterTest, NothingIsLeftBehindHoweverTheImportEnds) {
    ASSERT_TRUE(import({{"VELKOR_SIM_SURVEY", survey}}));
    EXPECT_TRUE(leftovers(dir.dir()).empty()) << "success";

    EXPECT_FALSE(import({{"VELKOR_SIM_SURVEY", survey}, {"VELKOR_SIM_FAULT", "break:70"}}));
    EXPECT_TRUE(leftovers(dir.dir()).empty()) << "link failure";

    prompter.cancelAfterLines = 1;
    EXPECT_FALSE(import({{"VELKOR_SIM_SURVEY", survey}}));
    prompter.cancelAfterLines = -1;
    EXPECT_TRUE(leftovers(dir.dir()).empty()) << "cancel";

    EXPECT_FALSE(import({{"VELKOR_SIM_FAULT", "empty"}}));
    EXPECT_TRUE(leftovers(dir.dir()).empty()) << "a file that does not load";

    // The window showing the failure throws; the file goes all the same.
    prompter.onMessage = [] { throw std::runtime_error("the window went away"); };
    sim.configure({{"VELKOR_SIM_SURVEY", survey}, {"VELKOR_SIM_FAULT", "break:70"}});
    CFTD2XX usb(prompter);
    ASSERT_EQ(usb.bind(), 1);
    const std::vector<std::string> before = data.lines();
    EXPECT_THROW(Importer(usb, prompter).run(data, 0), std::runtime_error);
    EXPECT_TRUE(leftovers(dir.dir()).empty()) << "exception";
    EXPECT_FALSE(sim.isOpen());
    EXPECT_EQ(data.lines(), before);
}

TEST_F(ImporterTest, TwoImportsAtOnceGetEachTheReadingsOfItsOwnInstrument) {
    std::string other = kThree;
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"48123.4", "47001.2"},
                                   {"48110.2", "47002.3"},
                                   {"48130.9", "47003.4"}}) {
        other.replace(other.find(from), from.size(), to);
    }
    const std::string otherSurvey = dir.write("other.velkor", other);
    // Slow instruments, so that the two transfers overlap.
    KernelTestbed bed;
    bed.addMagnetometer(0, "VK2-ONE",
                        {{"VELKOR_SIM_SURVEY", survey}, {"VELKOR_SIM_DELAY_MS", "150"}});
    bed.addMagnetometer(1, "VK2-TWO",
                        {{"VELKOR_SIM_SURVEY", otherSurvey}, {"VELKOR_SIM_DELAY_MS", "150"}});
    struct Side {
        RecordingPrompter prompter;
        DataSet data;
        bool ok = false;
    };
    Side sides[2];
    auto importFrom = [&sides](std::uint32_t device) {
        KernelFtdiLink link;
        Side& side = sides[device];
        side.ok = Importer(link, side.prompter).run(side.data, device);
    };
    std::thread first(importFrom, 0u);
    std::thread second(importFrom, 1u);
    first.join();
    second.join();
    const std::string expected[2] = {kThree, other};
    for (std::uint32_t i = 0; i < 2; ++i) {
        ASSERT_TRUE(sides[i].ok) << i << ": " << sides[i].prompter.texts().front();
        const std::string out = dir.path("device" + std::to_string(i) + ".velkor");
        ASSERT_TRUE(DataFile::write(out, sides[i].data, prompter));
        EXPECT_EQ(TempDir::read(out), expected[i]) << i;
    }
    EXPECT_TRUE(leftovers(dir.dir()).empty());
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
